#include "crypto/book_cipher.h"
#include "dialog_child.h"
#include "dialogs/backups_dialog.h"
#include "document/data_file.h"
#include "ui/rich_text_edit.h"

namespace {

// The restores are the application's; here the window only lists and shows.
class NoTarget : public RestoreTarget
{
public:
    Outcome insertPage(const PageRecord&, const QDateTime&) override { return {}; }
    Outcome replaceCurrentPage(const PageRecord&, const QDateTime&) override { return {}; }
    Outcome replaceBook(const std::vector<PageRecord>&, const QDateTime&) override { return {}; }
};

// "Иванов" as the rich-edit control writes it.
const QString kIvanovRtf = QStringLiteral("{\\rtf1\\ansi\\ansicpg1251 "
                                          "\\'c8\\'e2\\'e0\\'ed\\'ee\\'e2}");

class BackupsDialogTest : public ::testing::Test
{
protected:
    QString history() const { return m_dir.filePath("History") + u'/'; }
    QString dataFile() const { return m_dir.filePath("data/velkaro.dat"); }

    void writeBackup(int period, const QByteArray& bytes, const QDateTime& made)
    {
        const QString path = history() + "velkaro." + QString::number(period);
        ASSERT_TRUE(writeAll(path, bytes));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(made, QFileDevice::FileModificationTime));
    }

    void open()
    {
        BackupsDialog::Setup setup;
        setup.historyFolder = history();
        setup.exeBaseName = "velkaro";
        setup.dataFilePath = dataFile();
        setup.addressTabStops = {300, 3325};
        setup.text = [](TextId id) { return BuiltInTexts::text(id); };
        m_dialog = std::make_unique<BackupsDialog>(m_target, m_messages, setup);
        m_dialog->show();
    }

    template <typename T> T* child(const char* name) const
    {
        return ::child<T>(m_dialog.get(), name);
    }
    QTreeWidget* copies() const { return child<QTreeWidget>("lstBackups"); }
    QListWidget* pages() const { return child<QListWidget>("lstPages"); }
    QString info() const { return child<QLabel>("lblInfo")->text(); }
    QPushButton* button(const char* name) const { return child<QPushButton>(name); }
    void choose(int row) { copies()->setCurrentItem(copies()->topLevelItem(row)); }
    QStringList row(int index) const
    {
        QStringList out;
        for (int column = 0; column < copies()->columnCount(); ++column)
            out << copies()->topLevelItem(index)->text(column);
        return out;
    }

    QTemporaryDir m_dir;
    RecordingMessageService m_messages;
    NoTarget m_target;
    std::unique_ptr<BackupsDialog> m_dialog;
};

const QDateTime kEarly(QDate(2026, 3, 1), QTime(9, 30));
const QDateTime kLate(QDate(2026, 3, 12), QTime(18, 4));

} // namespace

TEST_F(BackupsDialogTest,
       ListsCopiesFromCountLinesReadsPagesOnlyOnceOneIsChosenOrSaysWhereTheyWillBe)
{
    open();
    EXPECT_EQ(copies()->topLevelItemCount(), 0);
    EXPECT_TRUE(info().contains(QDir::toNativeSeparators(history()))) << "where copies will be";
    EXPECT_FALSE(button("cmdRestoreBook")->isEnabled());

    // The body of the later copy is damaged; its count line is not, so the
    // list shows its count until the copy is chosen and read.
    writeBackup(
        7, DataFile::serialize(std::vector<PageRecord>{{"АБ", kIvanovRtf, 0}, {"Дача", "дом", 1}}),
        kEarly);
    writeBackup(8, "3\r\n\"A\",\"one\r\ntwo\"\r\n\"B\",\"\"\r\n", kLate);
    open();
    EXPECT_EQ(unnamedControls(m_dialog.get()), QStringList());
    EXPECT_EQ(m_dialog->windowTitle(), u"Резервные копии книги"_qs);
    ASSERT_EQ(copies()->topLevelItemCount(), 2);
    EXPECT_EQ(row(0) + row(1),
              QStringList({"12.03.2026 18:04", "3", u"1 КБ"_qs, u"резервная копия № 8"_qs,
                           "01.03.2026 09:30", "2", u"1 КБ"_qs, u"резервная копия № 7"_qs}));
    // Nothing is read until a copy is chosen, a focus coming to the list included.
    copies()->setFocus(Qt::TabFocusReason);
    QFocusEvent focusIn(QEvent::FocusIn, Qt::TabFocusReason);
    QCoreApplication::sendEvent(copies(), &focusIn);
    EXPECT_EQ(std::tuple(copies()->currentItem(), pages()->count(), info()),
              std::tuple(nullptr, 0, u"Выберите копию, чтобы увидеть ее страницы."_qs));
    for (const char* name : {"cmdRestorePage", "cmdReplacePage", "cmdRestoreBook"})
        EXPECT_FALSE(button(name)->isEnabled()) << name;

    choose(1);
    ASSERT_EQ(pages()->count(), 2);
    EXPECT_EQ(pages()->item(1)->text(), u"Дача"_qs);
    auto* preview = child<RichTextEdit>("rtfPreview");
    EXPECT_TRUE(preview->isReadOnly());
    EXPECT_EQ(preview->text(), u"Иванов"_qs);
    pages()->setCurrentRow(1);
    EXPECT_EQ(preview->text(), u"дом"_qs);
    EXPECT_TRUE(button("cmdRestorePage")->isEnabled());

    choose(0);
    EXPECT_EQ(pages()->count(), 0);
    EXPECT_TRUE(preview->text().isEmpty());
    EXPECT_TRUE(info().contains(u"повреждена (строка 5:"_qs)) << info().toStdString();
}

// An encrypted copy the session holds no key for asks its password; a wrong
// one or a cancel leaves it refused, the right one opens it.
TEST_F(BackupsDialogTest, AnEncryptedCopyAsksItsPasswordAndOpensWithTheRightOne)
{
    const auto key = BookKey::create(u"тайна"_qs, BookKey::Limits::fastest());
    writeBackup(8, BookCipher::seal("1\r\n\"Дача\",\"x\"\r\n", *key), kLate);
    open();
    for (const QString& typed : {u"неверно"_qs, u"тайна"_qs}) {
        m_messages.clear();
        bool asked = false;
        QTimer::singleShot(0, [&] {
            auto* password = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_TRUE(password && password->objectName() == "frmPassword");
            asked = ::child<QLineEdit>(password, "txtPassword")->text().isEmpty();
            ::child<QLineEdit>(password, "txtPassword")->setText(typed);
            ::child<QPushButton>(password, "cmdOK")->click();
            if (password->isVisible())
                password->reject();
        });
        copies()->setCurrentItem(nullptr);
        choose(0);
        const bool right = typed == u"тайна"_qs;
        EXPECT_EQ(
            std::tuple(asked, pages()->count(), info().isEmpty(), m_messages.entries().size()),
            std::tuple(true, right ? 1 : 0, right, right ? 0u : 1u));
    }
}
