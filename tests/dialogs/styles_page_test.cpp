// The styles page of frmOptions and the mask dialog frmUnused: the list
// mirrors the styles, with the Ctrl+digit of the first ten, and every
// command changes the styles at once.

#include "options_fixture.h"

namespace {

class StylesPageTest : public OptionsDialogTest
{
protected:
    void openWith(int count)
    {
        for (int i = 1; i <= count; ++i) {
            Style style;
            style.setName(QStringLiteral("S%1").arg(i));
            m_host.m_styles.add(style);
        }
        open();
        m_dialog->findChild<QListWidget*>("lstPages")->setCurrentRow(3);
    }
    QListWidget* list() const { return child<QListWidget>("lstStyles"); }
    QStringList entries() const
    {
        QStringList texts;
        for (int i = 0; i < list()->count(); ++i)
            texts << list()->item(i)->text();
        return texts;
    }
    QStringList names() const
    {
        QStringList names;
        for (const Style& style : m_host.m_styles)
            names << style.name();
        return names;
    }
    void trigger(const char* item) { child<QAction>(item)->trigger(); }
    // The input box the next command opens, answered with `answer`.
    void answerName(const QString& answer)
    {
        whenModal([answer](QWidget* box) {
            box->findChild<QLineEdit*>("txtText")->setText(answer);
            box->findChild<QPushButton*>("cmdOK")->click();
        });
    }
    bool enabled(const char* button) const { return child<QPushButton>(button)->isEnabled(); }
    // Opens the mask of the first style and lets `change` work on its list
    // before OK, or Cancel. Gives the marks it showed, "+" for each checked
    // item, and keeps the items' captions.
    QString editMask(const std::function<void(QListWidget*)>& change, bool ok)
    {
        list()->setCurrentRow(0);
        QString marks;
        maskItems.clear();
        whenModal([&](QWidget* mask) {
            EXPECT_EQ(unnamedControls(mask), QStringList());
            auto* items = mask->findChild<QListWidget*>("lstList");
            for (int i = 0; i < items->count(); ++i) {
                marks += items->item(i)->checkState() == Qt::Checked ? u'+' : u'-';
                maskItems << items->item(i)->text();
            }
            if (change)
                change(items);
            if (ok)
                mask->findChild<QPushButton*>("cmdOK")->click();
            else
                static_cast<QDialog*>(mask)->reject();
        });
        trigger("mnuEditStyleUnused");
        return marks;
    }
    qint16 mask() const { return m_host.m_styles.item(1)->unused(); }

    QStringList maskItems;
};

} // namespace

TEST_F(StylesPageTest, TheFirstTenEntriesCarryTheirShortcutsAndKeepThemInOrder)
{
    openWith(12);
    QStringList expected;
    for (int i = 1; i <= 12; ++i) {
        const QString prefix = i <= 10 ? QStringLiteral("Ctrl+%1").arg(i % 10) : QString();
        expected << prefix + QStringLiteral("\tS%1").arg(i);
    }
    EXPECT_EQ(entries(), expected);
    EXPECT_FALSE(enabled("cmdEditStyle")) << "nothing chosen yet";

    list()->setCurrentRow(9);
    click("cmdMoveDownStyle");
    EXPECT_EQ(entries()[9], "Ctrl+0\tS11");
    EXPECT_EQ(entries()[10], "\tS10");
    EXPECT_EQ(names()[9], "S11") << "the styles follow the list";
    EXPECT_EQ(list()->currentRow(), 10);
    click("cmdMoveUpStyle");
    EXPECT_EQ(entries(), expected);
    EXPECT_EQ(names()[9], "S10");

    list()->setCurrentRow(11);
    EXPECT_FALSE(enabled("cmdMoveDownStyle"));
    list()->setCurrentRow(0);
    EXPECT_FALSE(enabled("cmdMoveUpStyle"));
    EXPECT_EQ(child<QLabel>("lblStyle")->text(), "S1") << "the sample shows the selection";
}

TEST_F(StylesPageTest, ANewStyleIsTrimmedAndANameTheFileCannotHoldIsRefused)
{
    openWith(0);
    answerName(u"  Заголовок  "_qs);
    click("cmdNewStyle");
    EXPECT_EQ(entries(), QStringList{u"Ctrl+1\tЗаголовок"_qs});
    EXPECT_EQ(names(), QStringList{u"Заголовок"_qs});
    EXPECT_TRUE(enabled("cmdEditStyle"));

    for (const QString& refused : {u"   "_qs, u"a;b"_qs, u"Note 日本"_qs}) {
        m_messages.clear();
        answerName(refused);
        click("cmdNewStyle");
        EXPECT_EQ(m_host.m_styles.count(), 1) << refused.toStdString();
        EXPECT_EQ(m_messages.entries().size(), refused.trimmed().isEmpty() ? 0u : 1u);
    }
    EXPECT_TRUE(m_messages.texts().constLast().contains(u"日本"_qs));

    answerName(u" Подпись "_qs);
    trigger("mnuEditStyleName");
    EXPECT_EQ(names(), QStringList{u"Подпись"_qs});
    EXPECT_EQ(entries(), QStringList{u"Ctrl+1\tПодпись"_qs});
}

TEST_F(StylesPageTest, DeletingTheLastEntrySelectsTheNewLastAndTheOnlyOneLeavesNothing)
{
    openWith(3);
    list()->setCurrentRow(2);
    m_messages.queueAnswer(false);
    click("cmdDeleteStyle");
    EXPECT_EQ(m_host.m_styles.count(), 3) << "No keeps it";

    m_messages.queueAnswer(true);
    click("cmdDeleteStyle");
    EXPECT_EQ(names(), QStringList({"S1", "S2"}));
    EXPECT_EQ(list()->currentRow(), 1);
    EXPECT_FALSE(enabled("cmdMoveDownStyle"));

    list()->setCurrentRow(0);
    m_messages.queueAnswer(true);
    click("cmdDeleteStyle");
    EXPECT_EQ(entries(), QStringList{"Ctrl+1\tS2"});
    EXPECT_EQ(list()->currentRow(), 0);
    m_messages.queueAnswer(true);
    click("cmdDeleteStyle");
    EXPECT_EQ(list()->count(), 0);
    EXPECT_FALSE(enabled("cmdDeleteStyle"));
    EXPECT_TRUE(child<QLabel>("lblStyle")->text().isEmpty());
}

TEST_F(StylesPageTest, TheMaskShowsWhatTheStyleSetsOnlyOkChangesItAndItAlwaysHasSevenItems)
{
    openWith(1);
    EXPECT_EQ(editMask({}, true), "+++++++");
    EXPECT_EQ(mask(), 127);
    const auto clear = [](std::initializer_list<int> rows) {
        return [rows](QListWidget* items) {
            for (int row : rows)
                items->item(row)->setCheckState(Qt::Unchecked);
        };
    };
    editMask(clear({6, 0}), true);
    EXPECT_EQ(mask(), 127 - 64 - 1);
    EXPECT_EQ(editMask(clear({1}), false), "-+++++-");
    EXPECT_EQ(mask(), 127 - 64 - 1) << "Cancel changes nothing";
    m_dialog->close();
    // The built-in captions fill in what a short list lacks.
    for (const auto& [translated, expected] :
         {std::pair{u"Font|Size|Bold"_qs, u"Font|Size|Bold|Курсивное начертание"_qs},
          std::pair{u"1|2|3|4|5|6|7|8|9"_qs, u"1|2|3|4|5|6|7"_qs}}) {
        m_translated[int(TextId::UnusedList)] = translated;
        m_host.m_styles.clear();
        openWith(1);
        editMask({}, false);
        EXPECT_EQ(maskItems.size(), 7);
        EXPECT_EQ(maskItems.mid(0, int(expected.count(u'|')) + 1).join(u'|'), expected);
        m_dialog->close();
    }
}

// Bold and italic for a face the dialog shows without them (Tahoma), which
// OK in the dialog with nothing changed keeps.
TEST_F(StylesPageTest, BoldAndItalicComeFromTheMenuForAnyFace)
{
    openWith(1);
    list()->setCurrentRow(0);
    trigger("mnuEditStyleBold");
    trigger("mnuEditStyleItalic");
    whenModal([](QWidget* modal) { static_cast<QDialog*>(modal)->accept(); });
    trigger("mnuEditStyleFont");
    const StyleFont& font = m_host.m_styles.item(1)->font();
    EXPECT_EQ(std::tuple(font.name, font.bold, font.italic, font.size),
              std::tuple(u"Tahoma"_qs, true, true, 8.0));
    EXPECT_TRUE(child<QAction>("mnuEditStyleBold")->isChecked());
    EXPECT_TRUE(child<QLabel>("lblStyle")->font().italic());
    trigger("mnuEditStyleItalic");
    EXPECT_FALSE(child<QAction>("mnuEditStyleItalic")->isChecked());
}

TEST_F(StylesPageTest, FontAndColourGoIntoTheStyleAndTheSample)
{
    openWith(1);
    list()->setCurrentRow(0);
    // A face with a bold style of its own, as the dialog offers only those.
    const QStringList families = QFontDatabase::families();
    const auto bold = std::find_if(families.begin(), families.end(), [](const QString& family) {
        return QFontDatabase::isScalable(family) && QFontDatabase::styles(family).contains("Bold");
    });
    if (bold == families.end())
        GTEST_SKIP() << "no face here has a bold style of its own";
    whenModal([family = *bold](QWidget* modal) {
        auto* fonts = qobject_cast<QFontDialog*>(modal);
        ASSERT_NE(fonts, nullptr);
        QFont chosen = QFontDatabase::font(family, "Bold", 40);
        chosen.setUnderline(true);
        fonts->setCurrentFont(chosen);
        static_cast<QDialog*>(fonts)->accept();
    });
    trigger("mnuEditStyleFont");
    const Style& style = *m_host.m_styles.item(1);
    EXPECT_EQ(style.font().name, *bold);
    EXPECT_EQ(style.font().size, 15.0) << "kept to 15 points";
    EXPECT_EQ(m_messages.texts(),
              QStringList{u"Размер шрифта в стиле может быть от 6 до 15 пунктов. Вместо размера 40 "
                          u"стиль получил размер 15."_qs});
    EXPECT_TRUE(style.font().bold);
    EXPECT_TRUE(style.font().underline);
    EXPECT_TRUE(child<QLabel>("lblStyle")->font().bold());

    EXPECT_TRUE(child<QAction>("mnuEditStyleColor")->isVisible())
        << "the font dialog has no colour of its own";
    whenModal([](QWidget* modal) {
        static_cast<QColorDialog*>(modal)->setCurrentColor(QColor(0, 0, 255));
        static_cast<QDialog*>(modal)->accept();
    });
    trigger("mnuEditStyleColor");
    EXPECT_EQ(m_host.m_styles.item(1)->color(), 0xFF0000u) << "blue, 0x00BBGGRR";
    EXPECT_EQ(child<QLabel>("lblStyle")->palette().color(QPalette::WindowText), QColor(0, 0, 255));
}
