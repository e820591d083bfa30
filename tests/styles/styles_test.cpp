#include "core/code_page.h"
#include "file_size_cap.h"
#include "styles/styles.h"
#include "unit_test.h"

namespace {

const QByteArray kPlain = "; Tahoma; 8; 0; 0; 0; 0; 0; 255\r\n";

Style named(const QString& name)
{
    Style style;
    style.setName(name);
    return style;
}

QString namesOf(const Styles& styles)
{
    QStringList names;
    for (const Style& style : styles)
        names << style.name();
    return names.join(' ');
}

class StylesFile : public ::testing::Test
{
protected:
    QTemporaryDir m_dir;
    QString m_path = m_dir.filePath("Styles.dat");
    Styles m_styles;
};

} // namespace

TEST(Styles, ItemReplacesInPlaceRefusesPositionsOutsideAndNamesTheFileCannotHold)
{
    Styles styles;
    for (const char* name : {"a", "b", "c"})
        styles.add(named(name));
    EXPECT_TRUE(styles.setItem(2, named("new")));
    EXPECT_FALSE(styles.setItem(4, named("x")));
    EXPECT_EQ(namesOf(styles), "a new c");
    EXPECT_EQ(std::pair(styles.item(0), styles.item(4)), (std::pair<Style*, Style*>()));
    EXPECT_EQ(styles.item(3)->name(), "c");
    // Names and faces the file cannot hold are reported.
    EXPECT_FALSE(Styles::checkName("Заголовок №1"));
    const std::optional<AppError> semicolon = Styles::checkName("Заголовок; №1");
    ASSERT_TRUE(semicolon);
    EXPECT_EQ(semicolon->text, TextId::StyleNameSemicolon);
    EXPECT_FALSE(Styles::checkFaceName("Times New Roman"));
    const std::optional<AppError> name = Styles::checkName("Note 日本");
    ASSERT_TRUE(name);
    EXPECT_EQ(name->args, QStringList{"日本"});
    const std::optional<AppError> face = Styles::checkFaceName("微软雅黑");
    ASSERT_TRUE(face);
    EXPECT_EQ(face->args, QStringList({"微软雅黑", "Tahoma"}));
}

TEST_F(StylesFile, SavedStylesLoadBackInOrderInWindows1251AndAFailedSaveKeepsTheOldFile)
{
    Style red = named("Заголовок");
    red.font() = {"Arial", 11.5, true, true, false, true};
    red.setColor(0xFF);
    m_styles.add(red);
    m_styles.add(named("a;b"));
    // The size carries the locale's decimal sign, whatever locale the test runs under.
    const QLocale locale;
    for (const auto& [name, sign] : {std::pair("C", u'.'), std::pair("de_DE", u',')}) {
        QLocale::setDefault(QLocale(name));
        ASSERT_FALSE(m_styles.save(m_path));
        EXPECT_EQ(readAll(m_path),
                  CodePage::encodeLossy(u"Заголовок; Arial; 11"_qs + QChar(sign) +
                                        u"5; -1; -1; 0; -1; FF; 255\r\na;b"_qs) +
                      kPlain)
            << name;
        Styles loaded;
        ASSERT_TRUE(loaded.load(m_path));
        EXPECT_EQ(std::vector<Style>(loaded.begin(), loaded.end()),
                  (std::vector<Style>{red, named("a;b")}));
    }
    QLocale::setDefault(locale);
    // A failed save reports it and keeps the old file.
    writeAll(m_dir.filePath("file"), "a file, not a folder");
    std::optional<AppError> error = m_styles.save(m_dir.filePath("file/Styles.dat"));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->text, TextId::StylesNotSaved);

    const QByteArray old = "Old" + kPlain;
    writeAll(m_path, old);
    for (int i = 0; i < 3; ++i)
        m_styles.add(named("New"));
    {
        const FileSizeCap cap(old.size()); // a disk that fills up
        if (!cap.isSet())
            GTEST_SKIP() << "no limit on file sizes here";
        error = m_styles.save(m_path);
    }
    ASSERT_TRUE(error);
    EXPECT_EQ(error->args.value(0), QDir::toNativeSeparators(m_path));
    EXPECT_EQ(readAll(m_path), old);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList({"file", "Styles.dat"}));
    // Styles as the file holds them are not written again.
    ASSERT_TRUE(m_styles.load(m_path));
    const QDateTime stamp(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC);
    QFile file(m_path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite) &&
                file.setFileTime(stamp, QFileDevice::FileModificationTime));
    file.close();
    EXPECT_FALSE(m_styles.save(m_path));
    EXPECT_EQ(QFileInfo(m_path).lastModified(), stamp);
}

TEST_F(StylesFile, DamagedLinesAreSkippedAndAFileThatCannotBeReadIsMovedAsideBeforeASave)
{
    m_styles.add(named("stale"));
    EXPECT_TRUE(m_styles.load(m_path) && m_styles.count() == 0) << "a missing file is no fault";
    const QByteArray damaged = "One" + kPlain + "\r\nbroken; Tahoma\r\nTwo" + kPlain.chopped(2) +
                               "\nT; Tahoma; x; 0; 0; 0; 0; 0; 255\r\nThree" + kPlain.chopped(2);
    writeAll(m_path, damaged);
    EXPECT_TRUE(m_styles.load(m_path));
    EXPECT_EQ(namesOf(m_styles), "One Two Three");
    // The lines a save would lose are kept first, with the whole file.
    EXPECT_EQ(std::pair(m_styles.droppedLines(), m_styles.firstDroppedLine()), std::pair(2, 3));
    EXPECT_TRUE(m_styles.keptAside().startsWith(m_path + ".unreadable-"));
    EXPECT_EQ(readAll(m_styles.keptAside()), damaged);
    EXPECT_EQ(readAll(m_path), damaged);

    // Nor is the file written through a link planted in its place.
    const QString victim = m_dir.filePath("victim");
    writeAll(victim, damaged);
    QFile::remove(m_path);
    ASSERT_TRUE(QFile::link(victim, m_path));
    ASSERT_FALSE(m_styles.save(m_path));
    EXPECT_FALSE(QFileInfo(m_path).isSymLink());
    EXPECT_EQ(readAll(victim), damaged);
    EXPECT_TRUE(m_styles.load(m_path));
    EXPECT_EQ(std::pair(m_styles.droppedLines(), m_styles.keptAside()), std::pair(0, QString()));
    // A file that cannot be read at all is moved aside before a save could replace it.
    const QByteArray huge(Styles::MaxFileBytes + 1, 'x');
    writeAll(m_path, huge);
    EXPECT_FALSE(m_styles.load(m_path) || m_styles.errorString().isEmpty());
    EXPECT_TRUE(m_styles.keptAside().startsWith(m_path + ".unreadable-") &&
                readAll(m_styles.keptAside()) == huge && !QFileInfo::exists(m_path));
}
