// The English "language.ini" shipped with the program, read as the program
// reads it, against the table of built-in texts: a text added to the table
// without its English fails here.

#include "core/built_in_text.h"
#include "core/ini_file.h"
#include "rules/page_keys.h"
#include "unit_test.h"

namespace {

const QByteArray& english()
{
    static const QByteArray content = readAll(QStringLiteral(VELKARO_ENGLISH_TRANSLATION));
    return content;
}

std::optional<QString> value(QStringView section, QStringView key)
{
    return IniFile::findValue(english(), section, key);
}

std::string name(const BuiltInText& text)
{
    return QStringLiteral("[%1] %2").arg(text.section, text.key).toStdString();
}

// %1 ... %9 and the about box's %apptitle, %major and the like.
QSet<QString> placeholders(const QString& text)
{
    static const QRegularExpression placeholder(QStringLiteral("%(\\d+|[A-Za-z]+)"));
    QSet<QString> found;
    for (const QRegularExpressionMatch& match : placeholder.globalMatch(text))
        found << match.captured();
    return found;
}

// Placeholders, line breaks and mnemonics are what the program and the
// keyboard rely on; the words are the translator's.
TEST(EnglishTranslation, TranslatesEveryBuiltInText)
{
    for (int i = 0; i < static_cast<int>(TextId::Count); ++i) {
        const BuiltInText& text = BuiltInTexts::entry(static_cast<TextId>(i));
        const std::optional<QString> translated = value(text.section, text.key);
        if (!translated) {
            ADD_FAILURE() << name(text) << " is missing";
            continue;
        }
        const QString russian = text.text.toString();
        // An empty default is no text but a rule (the about box's link
        // position, the style mask's list): empty keeps the rule. English
        // dates in the windows are the system's.
        if (!russian.isEmpty() && text.id != TextId::DateShown) {
            EXPECT_FALSE(translated->isEmpty()) << name(text);
        }
        EXPECT_LE(translated->size(), IniFile::maxValueLength) << name(text);
        for (const QString& placeholder : placeholders(russian)) {
            EXPECT_TRUE(translated->contains(placeholder))
                << name(text) << " lost " << placeholder.toStdString();
        }
        EXPECT_EQ(translated->count(QLatin1String("\\n")), russian.count(u'\n')) << name(text);
        // "@ " is how the options dialog tells its pages from other tags.
        if (text.key.endsWith(u".Tag")) {
            EXPECT_TRUE(translated->startsWith(u"@ ")) << name(text);
        }
        if (russian.contains(u'&')) {
            EXPECT_TRUE(translated->contains(QRegularExpression(QStringLiteral("&\\w"))))
                << name(text) << " lost its mnemonic";
        }
    }
}

TEST(EnglishTranslation, IsUtf8WithAByteOrderMarkAndNamesEveryColourAndStyleAttribute)
{
    ASSERT_FALSE(english().isEmpty()) << VELKARO_ENGLISH_TRANSLATION;
    EXPECT_TRUE(english().startsWith("\xEF\xBB\xBF"));
    EXPECT_FALSE(QString::fromUtf8(english()).contains(QChar::ReplacementCharacter));
    for (int index = -1; index <= 15; ++index)
        EXPECT_FALSE(value(u"Colors", QString::number(index)).value_or(QString()).isEmpty())
            << index;
    // The style mask's items come from "List" only, in the order of lstList.
    const QStringList items = value(u"frmUnused", u"List").value_or(QString()).split(u'|');
    ASSERT_EQ(items.size(), 7);
    for (int i = 0; i < items.size(); ++i)
        EXPECT_EQ(items[i], value(u"frmUnused", QStringLiteral("lstList(%1)").arg(i))) << i;
}

// A new English book has thirteen pages "AB" ... "YZ"; Alt and either
// letter of a page opens it, Alt+1 ... Alt+9 the user's pages after them.
TEST(EnglishTranslation, SwitchesQtToEnglishAndGivesAnEnglishAlphabet)
{
    EXPECT_EQ(QLocale(value(u"Velkaro", u"QtLanguage").value_or(QString())).language(),
              QLocale::English);
    const QStringList titles = value(u"Velkaro", u"PageTitles").value_or(QString()).split(u':');
    ASSERT_EQ(titles.size(), 13);
    EXPECT_EQ(value(u"Velkaro", u"LastIntPage"), QString::number(titles.size()));
    const PageKeys::Book book{1, 22, 13, value(u"Velkaro", u"Shortcuts").value_or(QString())};
    for (int page = 1; page <= 13; ++page) {
        const QString title = titles[page - 1];
        EXPECT_EQ(title, QString(QChar(u'A' + 2 * page - 2)) + QChar(u'A' + 2 * page - 1));
        for (const QChar letter : title)
            EXPECT_EQ(PageKeys::pageForAltKey(letter.unicode(), book), page) << letter.toLatin1();
    }
    for (int digit = 1; digit <= 9; ++digit)
        EXPECT_EQ(PageKeys::pageForAltKey('0' + digit, book), 13 + digit) << digit;
}

} // namespace
