// The start-up password: asked before the book or the options are read, and
// a stored password that cannot be checked never opens the book.

#include "app_fixture.h"
#include "document/obscured_password.h"

TEST(StartUp, ThePasswordIsAskedBeforeTheBookIsReadAndADamagedOneNeverOpensIt)
{
    struct Case
    {
        const char* key; // where the password is stored: Privacy/Password or the old place
        QString stored;
        std::optional<bool> answer; // none: nobody may be asked
        bool started;
        QString message; // a part of the one message shown
    };
    const Case cases[] = {
        {"Privacy/Password", *ObscuredPassword::obscure(u"Ключ 7"_qs), true, true, {}},
        {"Options/FileLocation", u"secret"_qs, true, true, {}},
        {nullptr, {}, std::nullopt, true, {}},
        {"Privacy/Password", *ObscuredPassword::obscure(u"x"_qs), false, false, {}},
        // Not hex, a digit lost from a real one.
        {"Privacy/Password", u"41zz"_qs, std::nullopt, false,
         u"\"Privacy\", параметр \"Password\""_qs},
        {"Privacy/Password", ObscuredPassword::obscure(u"abc"_qs)->chopped(1), std::nullopt, false,
         u"\"Privacy\", параметр \"Password\""_qs},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored.toStdString());
        AppFixture f;
        const QString section = QString::fromLatin1(c.key).section(u'/', 0, 0);
        const QString key = QString::fromLatin1(c.key).section(u'/', 1);
        if (c.key)
            f.write(section, key, c.stored);
        auto app = f.makeApp();
        bool asked = false;
        app->setLoginPrompt([&](Application& a) {
            asked = true;
            EXPECT_TRUE(c.answer) << "nobody is asked";
            EXPECT_EQ(a.currentPassword(),
                      c.key[0] == 'O' ? c.stored : ObscuredPassword::reveal(c.stored).value_or(u"?"_qs));
            EXPECT_FALSE(QFile::exists(f.dataFile()));
            EXPECT_EQ(a.book().pageCount(), 0);
            return c.answer.value_or(false);
        });
        EXPECT_EQ(app->startUp(), c.started);
        EXPECT_EQ(asked, c.answer.has_value());
        EXPECT_EQ(QFile::exists(f.dataFile()), c.started);
        EXPECT_EQ(app->book().pageCount(), c.started ? 14 : 0);
        if (c.message.isEmpty()) {
            EXPECT_EQ(f.messages.texts(), QStringList());
        } else {
            ASSERT_EQ(f.messages.entries().size(), 1u);
            EXPECT_EQ(f.messages.entries()[0].icon, MessageService::Icon::Critical);
            EXPECT_TRUE(f.messages.texts()[0].contains(c.message));
        }
        // A plain password of the old place moves, enciphered; a damaged one
        // is kept for its owner to look at.
        if (c.key && c.key[0] == 'O') {
            EXPECT_EQ(f.read("Privacy", "Password"), *ObscuredPassword::obscure(c.stored));
            EXPECT_EQ(f.read(section, key), "<absent>");
        } else if (c.key) {
            EXPECT_EQ(f.read(section, key), c.stored);
        }
    }
}
