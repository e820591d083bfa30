#include "dialog_child.h"
#include "dialogs/replace_dialog.h"

namespace {

class ReplaceDialogTest : public ::testing::Test
{
protected:
    ReplaceDialogTest()
    {
        // A locale with a decimal comma.
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
        writeAll(m_new, QByteArray(1536, 'x'));
        writeAll(m_old, QByteArray(512, 'x'));
    }
    ~ReplaceDialogTest() override { QLocale::setDefault(m_locale); }

    std::unique_ptr<ReplaceDialog> open()
    {
        auto dialog = std::make_unique<ReplaceDialog>(
            m_new, m_old, [](TextId id) { return BuiltInTexts::text(id); }, nullptr);
        dialog->show();
        return dialog;
    }

    QLocale m_locale;
    QTemporaryDir m_dir;
    QString m_new = m_dir.filePath("new/velkaro.dat");
    QString m_old = m_dir.filePath("old/velkaro.dat");
};

} // namespace

// The buttons' answers are driven through the real window in tests/app.
TEST_F(ReplaceDialogTest, BothFilesShowSizeInTheLocaleAndDateAndEscapeGivesNoAnswer)
{
    auto dialog = open();
    EXPECT_EQ(unnamedControls(dialog.get()), QStringList());
    const auto text = [&dialog](const char* name) {
        return dialog->findChild<QLabel*>(name)->text();
    };
    const QString date = QLocale().toString(QFileInfo(m_new).lastModified(), QLocale::ShortFormat);
    EXPECT_EQ(text("lblNew"), u"1,5 Kb\nдата изменения: "_qs + date);
    EXPECT_TRUE(text("lblOld").startsWith(u"512 bytes\nдата изменения: "_qs));
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->ReplaceResult(), ReplaceDialog::Closed);
}
