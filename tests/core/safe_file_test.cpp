#include "core/safe_file.h"
#include "core/system_reason.h"
#include "file_size_cap.h"
#include "unit_test.h"

#include <cerrno>

// A short text is written at commit time and a long one at once; a write cut
// short must fail and keep the old file either way.
TEST(SafeFile, WriteCutShortFailsKeepsTheOldFileAndCommonReasonsComeFromTheTexts)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("velkaro.dat"));
    ASSERT_FALSE(SafeFile::writeWhole(path, "old book"));
    for (const qsizetype length : {100, 200000}) {
        std::optional<AppError> error;
        {
            const FileSizeCap cap(16);
            if (!cap.isSet())
                GTEST_SKIP() << "no limit on file sizes here";
            error = SafeFile::writeWhole(path, QByteArray(length, 'x'));
        }
        ASSERT_TRUE(error) << length;
        EXPECT_EQ(error->number, AppError::DiskFull) << length;
        EXPECT_EQ(readAll(path), "old book") << length;
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                  QStringList{"velkaro.dat"});
    }
    // A file made a part at a time whose maker gives up after a part.
    const AppError givenUp{AppError::InvalidProcedureCall, QStringLiteral("Characters")};
    const auto stopped = SafeFile::writeInParts(path, [&](const SafeFile::Writer& write) {
        write("new ");
        return std::optional(givenUp);
    });
    ASSERT_TRUE(stopped);
    EXPECT_EQ(stopped->number, givenUp.number);
    EXPECT_EQ(readAll(path), "old book");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"velkaro.dat"});
    EXPECT_FALSE(SafeFile::writeWhole(path, "new book"));
    EXPECT_EQ(readAll(path), "new book");
    // The system's words and the program's error numbers both lead to the text
    // the user's language gives; an uncommon reason keeps its words.
    const std::pair<AppError, std::optional<TextId>> cases[] = {
        {{AppError::PermissionDenied, qt_error_string(EROFS)}, TextId::ReasonReadOnly},
        {{AppError::PermissionDenied, QStringLiteral("Permission denied")},
         TextId::ReasonNoPermission},
        {{AppError::DiskFull, QStringLiteral("Disk full")}, TextId::ReasonDiskFull},
        {{AppError::PathNotFound, QStringLiteral("Path not found")}, TextId::ReasonNotFound},
        {{AppError::PathFileAccessError, qt_error_string(ENOSPC)}, TextId::ReasonDiskFull},
        {{AppError::PathFileAccessError, QStringLiteral("File too large (over 9 bytes)")},
         TextId::ReasonTooLarge},
        {{AppError::PathFileAccessError, QStringLiteral("Path/File access error")}, std::nullopt}};
    for (const auto& [error, text] : cases)
        EXPECT_EQ(SystemReason::of(error), text) << error.description.toStdString();
}
