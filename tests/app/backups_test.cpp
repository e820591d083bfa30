// The title a restored page takes; the backups window over the real notebook
// is in tests/data/app/backups.cases.

#include "app/backup_commands.h"
#include "app_fixture.h"

TEST(Backups, RestoredTitlesReadBackAsWritten)
{
    const QString pattern = BuiltInTexts::text(TextId::RestoredPageTitle);
    const QString made = u"01.03.2026"_qs;
    // A title that would read back otherwise (a text page's marker, quotes
    // that turn into apostrophes) gives way to the date alone.
    for (const auto& [with, title, expected] :
         {std::tuple{pattern, u"Дача"_qs, u"Дача (01.03.2026)"_qs},
          {pattern, u"~Заметки"_qs, u"01.03.2026"_qs},
          {pattern, u"a'\"b"_qs, u"01.03.2026"_qs},
          {QString(), u"Дача"_qs, u"01.03.2026"_qs},
          {u"%2: %1"_qs, u"100%2"_qs, u"01.03.2026: 100%2"_qs}})
        EXPECT_EQ(BackupCommands::restoredTitle(with, title, made), expected) << title;
}
