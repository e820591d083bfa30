// The installed copy, laid out by `cmake --install` into a temporary DESTDIR
// under /usr and by unpacking the Debian package the ctest fixture
// `debian_package` made (skipped without dpkg-dev). The installed program runs
// its whole start-up offscreen against an empty home with its log kept on and
// is ended by SIGTERM; the log shows what it looked up ("Common/TipFailure"
// for a tip that could not be shown), a personal "language.ini" every lookup.

#include "core/code_page.h"
#include "core/sequential_file_reader.h"
#include "terminated_program.h"
#include "widget_test.h"

namespace {

enum class Layout
{
    CmakeInstall,
    DebianPackage
};

// The Debian package of the build, made once for this test run; empty, with
// the test skipped (without dpkg-dev) or failed, when there is none.
QString testPackage()
{
    for (const char* tool : {"dpkg-shlibdeps", "dpkg-deb", "file"}) {
        if (QStandardPaths::findExecutable(tool).isEmpty())
            return [] { GTEST_SKIP() << "dpkg-dev is not installed"; }(), QString();
    }
    const QDir folder(QStringLiteral(VELKARO_TEST_PACKAGE_DIR));
    const QStringList debs = folder.entryList({"velkaro_*.deb"}, QDir::Files);
    if (debs.size() != 1)
        return [] { FAIL() << "ctest's fixture debian_package made no single package"; }(),
               QString();
    return folder.filePath(debs.first());
}

class InstalledCopy : public ::testing::TestWithParam<Layout>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid() && m_home.isValid());
        const bool package = GetParam() == Layout::DebianPackage;
        const QString deb = package ? testPackage() : QString();
        if (package && deb.isEmpty())
            return;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DESTDIR", m_root.path());
        const ProgramRun install =
            package ? runProgram("dpkg-deb", {"-x", deb, m_root.path()})
                    : runProgram(QStringLiteral(VELKARO_CMAKE),
                                 {"--install", VELKARO_BUILD_DIR, "--prefix", "/usr"}, env);
        ASSERT_EQ(install.exitCode, 0) << install.output;
    }

    QString installed(const QString& path) const { return m_root.filePath("usr/" + path); }
    QString programFolder() const
    {
        return installed(QStringLiteral(VELKARO_INSTALL_PROGRAM_FOLDER)) + '/';
    }
    QString userFolder() const { return m_home.filePath("share/Velkaro Pro/"); }
    QString log() const { return CodePage::decode(readAll(userFolder() + "velkaro.log")); }

    void runInstalledProgram()
    {
        ASSERT_TRUE(writeAll(userFolder() + "language.ini", "[Common]\r\nOK=OK\r\n"));
        ASSERT_NO_FATAL_FAILURE(runAndTerminate(installed("bin/velkaro"), {"--log"}, m_home));
        ASSERT_TRUE(log().contains("has been launched")) << "no log in the user's folder";
        ASSERT_TRUE(
            log().contains(QString("localization file \"%1language.ini\"").arg(userFolder())))
            << "the personal translation was not read: " << log();
    }

    // Every file and folder under the installed tree with its size, time
    // and permissions.
    QStringList installedTree() const
    {
        QStringList entries;
        QDirIterator it(m_root.path(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QFileInfo info(it.next());
            entries << QString("%1 %2 %3 %4")
                           .arg(info.filePath())
                           .arg(info.size())
                           .arg(info.lastModified().toMSecsSinceEpoch())
                           .arg(int(info.permissions()));
        }
        entries.sort();
        return entries;
    }

    // The program's folders read-only, or writable again so that the
    // temporary folders can be removed.
    void setWritable(bool writable) const
    {
        for (const QString& folder : {installed("bin"), programFolder()}) {
            const QFileDevice::Permissions mode = QFile::permissions(folder);
            const QFileDevice::Permissions write =
                QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
            QFile::setPermissions(folder,
                                  writable ? mode | QFileDevice::WriteOwner : mode & ~write);
        }
    }
    void TearDown() override { setWritable(true); }

    QTemporaryDir m_root;
    QTemporaryDir m_home;
};

} // namespace

// The tips, the help and the English translation (which waits there, read by
// nothing, until a user copies it into his own folder) are read from the
// program folder; the log, the styles, the settings and the new book all
// belong to the user. The tree is compared, not only made read-only: root
// writes anywhere.
TEST_P(InstalledCopy, ShipsItsFilesInItsProgramFolderAndWritesNothingThere)
{
    EXPECT_TRUE(QFileInfo(installed("bin/velkaro")).isExecutable());
    EXPECT_TRUE(QFileInfo(installed("bin/velkaro-cli")).isExecutable());
    const QString sources = VELKARO_SOURCE_DIR "/resources/";
    QStringList shipped = QDir(sources + "help").entryList({"*.hlp", "*.rtf"}, QDir::Files);
    shipped << "velkar.tip";
    for (const char* name : {"language.ini", "velkar.tip", "velkaro.hlp", "velkaro-help.rtf"})
        shipped << QString("translations/en/") + name;
    for (const QString& file : shipped) {
        const QString source = sources + (QFile::exists(sources + file) ? file : "help/" + file);
        EXPECT_EQ(readAll(programFolder() + file), readAll(source)) << file;
    }
    for (const char* left : {"language.ini", "make_help.py", "velkaro-help.txt"})
        EXPECT_FALSE(QFileInfo::exists(programFolder() + left)) << "Russian is the default";
    // The topic list names its document on its first line, relative to the program folder.
    const QString document =
        SequentialFileReader(SequentialFileReader::decode(readAll(programFolder() + "velkaro.hlp")))
            .readField();
    EXPECT_TRUE(QFileInfo(programFolder() + document).isFile()) << document;

    setWritable(false);
    const QStringList before = installedTree();
    runInstalledProgram();
    EXPECT_FALSE(log().contains("[Common/TipFailure]")) << log();
    EXPECT_EQ(installedTree(), before);
    EXPECT_TRUE(QFileInfo::exists(userFolder() + "Styles.dat") &&
                QFileInfo::exists(m_home.filePath("Documents/velkaro.dat")));

    // Without its tips file it shows the failure text.
    setWritable(true);
    ASSERT_TRUE(QFile::remove(programFolder() + "velkar.tip"));
    QFile::remove(userFolder() + "velkaro.log");
    runInstalledProgram();
    EXPECT_TRUE(log().contains("[Common/TipFailure]")) << log();
}

TEST_P(InstalledCopy, MenuEntryIconsAndManualPagesMatchThePrograms)
{
    const QString text =
        QString::fromUtf8(readAll(installed("share/applications/velkaro.desktop")));
    for (const char* line :
         {"\nExec=velkaro\n", "\nIcon=velkaro\n", "\nCategories=Office;ContactManagement;\n"})
        EXPECT_TRUE(text.contains(line)) << line << text;
    for (const char* size :
         {"16x16", "22x22", "24x24", "32x32", "48x48", "64x64", "128x128", "256x256"}) {
        const QImage icon(installed(QString("share/icons/hicolor/%1/apps/velkaro.png").arg(size)));
        EXPECT_EQ(QString("%1x%2").arg(icon.width()).arg(icon.height()), size);
    }
    for (const char* file :
         {"icons/hicolor/scalable/apps/velkaro.svg", "man/man1/velkaro.1.gz",
          "man/man1/velkaro-cli.1.gz", "doc/velkaro/copyright", "doc/velkaro/changelog.gz"})
        EXPECT_TRUE(QFileInfo::exists(installed(QString("share/") + file))) << file;
    const ProgramRun cli = runProgram(installed("bin/velkaro-cli"), {"--version"});
    EXPECT_TRUE(cli.exitCode == 0 && cli.output.startsWith("velkaro-cli (Velkaro Pro) "))
        << cli.output;
}

// Hints and pedantic remarks count too; the validators answer in English.
TEST_P(InstalledCopy, MenuEntryAndMetainfoPassTheirValidators)
{
    QProcessEnvironment english = QProcessEnvironment::systemEnvironment();
    english.insert("LC_ALL", "C.UTF-8");
    english.remove("LANGUAGE");
    for (const auto& [tool, arguments, clean] :
         {std::tuple{"desktop-file-validate",
                     QStringList{installed("share/applications/velkaro.desktop")}, ""},
          std::tuple{"appstreamcli",
                     QStringList{"validate", "--no-net", "--pedantic",
                                 installed("share/metainfo/org.example.velkaro.metainfo.xml")},
                     "\u2714 Validation was successful.\n"}}) {
        const QString validator = QStandardPaths::findExecutable(tool);
        if (validator.isEmpty())
            GTEST_SKIP() << tool << " (desktop-file-utils, appstream) is not installed";
        const ProgramRun validate = runProgram(validator, arguments, english);
        EXPECT_EQ(QString("%1 ").arg(validate.exitCode) + validate.output, QString("0 ") + clean)
            << tool;
    }
}

INSTANTIATE_TEST_SUITE_P(Layouts, InstalledCopy,
                         ::testing::Values(Layout::CmakeInstall, Layout::DebianPackage),
                         [](const ::testing::TestParamInfo<Layout>& layout) {
                             return layout.param == Layout::CmakeInstall ? "CmakeInstall"
                                                                         : "DebianPackage";
                         });

// What apt needs to install the package on a fresh system: its libraries,
// computed from the programs, and its name, version and copyright.
TEST(DebianPackage, NamesTheLibrariesItsProgramsNeed)
{
    const QString deb = testPackage();
    if (deb.isEmpty())
        return;
    const ProgramRun fields =
        runProgram("dpkg-deb", {"--field", deb, "Package", "Version", "Depends"});
    ASSERT_EQ(fields.exitCode, 0) << fields.output;
    const QString text = QString::fromUtf8(fields.output);
    for (const QString& part :
         {u"Package: velkaro\n"_qs, u"Version: %1\n"_qs.arg(VELKARO_VERSION), u"libqt6widgets6"_qs,
          u"libqt6gui6"_qs, u"libqt6core6"_qs, u"libc6"_qs})
        EXPECT_TRUE(text.contains(part)) << part << " missing from " << text;
}

// Debian's own check of a package: no error and no warning.
TEST(DebianPackage, PassesLintian)
{
    if (QStandardPaths::findExecutable("lintian").isEmpty())
        GTEST_SKIP() << "lintian is not installed";
    const QString deb = testPackage();
    if (deb.isEmpty())
        return;
    const ProgramRun lintian = runProgram("lintian", {"--fail-on", "error,warning", deb});
    const QString findings = QString::fromUtf8(lintian.output);
    EXPECT_EQ(lintian.exitCode, 0) << findings;
    static const QRegularExpression errorOrWarning(QStringLiteral("^[EW]: "),
                                                   QRegularExpression::MultilineOption);
    EXPECT_FALSE(findings.contains(errorOrWarning)) << findings;
}
