#include "core/text_fill.h"
#include "unit_test.h"

// What the user typed comes through whole, whatever placeholders it holds.
TEST(TextFill, EachPlaceholderIsFilledOnceAndArgumentsStayAsTheyCame)
{
    const QString typed = u"x%1%2%3%4%5%6%7%8%9"_qs;
    const QStringList ten = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "ten"};
    for (const auto& [text, args, expected] :
         {std::tuple{u"«%3» in «%1», not «%4»"_qs, QStringList{typed, "k", typed, "600"},
                     u"«"_qs + typed + u"» in «"_qs + typed + u"», not «600»"_qs},
          {u"%2 before %1, 50%, %9 left"_qs, QStringList{"a", "b"},
           u"b before a, 50%, %9 left"_qs},
          {u"%10 is the tenth, %1%0"_qs, ten, u"ten is the tenth, 1%0"_qs}}) {
        EXPECT_EQ(TextFill::fill(text, args), expected) << text;
    }
}
