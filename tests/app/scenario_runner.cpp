// The notebook window driven by scripts, tests/data/app/*.cases: one step a
// line, a verb and its words (run() has them all); "expect WHAT VALUE"
// compares what the window shows with VALUE ("~VALUE": contains it, "!VALUE":
// does not, "^VALUE": starts with it). In texts \t, \n, \r, \_ (a space)
// and \\ stand for themselves, $DIR for the test's folder and $HISTORY for
// the backups' folder; lines starting with # are comments.

#include "app_fixture.h"
#include "case_file.h"
#include "core/code_page.h"
#include "crypto/obscured_password.h"
#include "rules/window_ticks.h"

#include <QTextBlock>
#include <set>
#include <sys/stat.h>

// A case is named by its title.
void PrintTo(const DataCase& scenario, std::ostream* out)
{
    *out << scenario.name;
}

namespace {

using Words = QStringList;

QString unescaped(const QString& text)
{
    static const QHash<QChar, QChar> escapes = {
        {u't', u'\t'}, {u'n', u'\n'}, {u'r', u'\r'}, {u'_', u' '}, {u'\\', u'\\'}};
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool escaped = text[i] == u'\\' && i + 1 < text.size();
        out += escaped ? escapes.value(text[++i], u'?') : text[i];
    }
    return out;
}

// The words after the first `skip` ones, as written.
QString rest(const Words& words, int skip)
{
    return unescaped(words.mid(skip).join(u' '));
}

class Script : public WindowTest, public ::testing::WithParamInterface<DataCase>
{
protected:
    // The widget named so, looked for in the modal window first.
    QWidget* named(const QString& name) const
    {
        QWidgetList tops = QApplication::topLevelWidgets();
        tops.prepend(QApplication::activeModalWidget());
        for (QWidget* top : std::as_const(tops)) {
            if (top && top->objectName() == name)
                return top;
            if (auto* child = top ? top->findChild<QWidget*>(name) : nullptr)
                return child;
        }
        ADD_FAILURE() << "no widget " << name.toStdString();
        return nullptr;
    }
    // An item of the main menus; "NAME:N" is the Nth of the items named NAME.
    QAction* action(const QString& name) const
    {
        QAction* found =
            name.contains(u':')
                ? actions(name.section(u':', 0, 0)).value(number(name.section(u':', 1)) - 1)
                : item(name.toLatin1().constData());
        EXPECT_TRUE(found) << "no item " << name.toStdString();
        return found;
    }
    QList<QAction*> actions(const QString& name) const
    {
        return window()->findChildren<QAction*>(name);
    }
    int number(const QString& word) const { return word.toInt(); }

    void run(const Words& w)
    {
        const std::map<QString, std::function<void()>> verbs = {
            {"setting", [&] { f.write(unescaped(w[1]), w[2], rest(w, 3)); }},
            // A book from tests/data, as the data file or as the file given.
            {"book",
             [&] {
                 stored = readAll(QStringLiteral(VELKARO_TEST_DATA "/") + w[1]);
                 writeAll(w.size() > 2 ? at(w[2]) : f.dataFile(), stored);
             }},
            {"page",
             [&] {
                 pages.push_back({w[1], rest(w, 2), PageRecord::AddressPage});
             }},
            {"textpage",
             [&] {
                 pages.push_back({w[1], rest(w, 2), PageRecord::TextPage});
             }},
            {"letter", [&] { letters[number(w[1])] = rest(w, 2); }},
            {"pages",
             [&] {
                 for (int n = kLetters + 1; n <= number(w[1]); ++n)
                     pages.push_back({QString::number(n), {}, PageRecord::AddressPage});
             }},
            {"start",
             [&] {
                 if (stored.isEmpty()) // else the book given
                     writeBook(f.dataFile());
                 start(number(w.value(1)));
             }},
            {"bookfile", [&] { writeBook(rest(w, 1)); }},
            {"touch",
             [&] {
                 QFile file(rest(w, 2));
                 EXPECT_TRUE(file.open(QIODevice::ReadWrite) &&
                             file.setFileTime(QDateTime::fromString(w[1], Qt::ISODate),
                                              QFileDevice::FileModificationTime));
             }},
            {"key",
             [&] {
                 for (const QString& name : w.mid(1)) {
                     const QKeyCombination pressed = QKeySequence::fromString(name)[0];
                     EXPECT_NE(pressed.key(), Qt::Key_unknown) << name.toStdString();
                     QWidget* modal = QApplication::activeModalWidget();
                     press(modal ? modal : editor(), pressed.key(), pressed.keyboardModifiers());
                 }
             }},
            {"menu",
             [&] {
                 for (const QString& name : w.mid(1))
                     if (QAction* found = action(name))
                         found->trigger();
             }},
            {"tab",
             [&] { clickTab(number(w[1]), w.size() > 2 ? Qt::RightButton : Qt::LeftButton); }},
            {"open", [&] { open(number(w[1])); }},
            {"type", [&] { type(rest(w, 1)); }},
            {"keys",
             [&] {
                 editor()->setFocus();
                 for (const QChar typed : rest(w, 1))
                     press(editor(), Qt::Key_unknown, {}, 0, typed);
             }},
            {"size", [&] { editor()->setSelFontSize(w[1].toDouble()); }},
            {"select", [&] { select(number(w[1]), number(w[2])); }},
            {"answer", [&] { f.messages.queueAnswer(w[1] == "yes"); }},
            {"close", [&] { EXPECT_TRUE(window()->close()); }},
            {"tick",
             [&] {
                 for (int n = 0; n < number(w[1]); ++n)
                     app->ticks().tick();
             }},
            {"input",
             [&] {
                 box = {};
                 answerInputBox(box, w.size() > 1 ? std::optional(rest(w, 1)) : std::nullopt);
             }},
            {"dialog",
             [&] {
                 const QString button = w[2];
                 whenModal(w[1], [button](QDialog* d) { clickChild(d, button.toLatin1()); });
             }},
            {"choose", [&] { chooseFile(w.size() > 1 ? at(rest(w, 1)) : QString()); }},
            {"file", [&] { writeAll(at(unescaped(w[1])), CodePage::encodeLossy(rest(w, 2))); }},
            {"utf8", [&] { writeAll(at(unescaped(w[1])), rest(w, 2).toUtf8()); }},
            {"latin1", [&] { writeAll(at(unescaped(w[1])), rest(w, 2).toLatin1()); }},
            {"paste",
             [&] {
                 auto* pasted = new QMimeData; // the clipboard takes it
                 pasted->setHtml(rest(w, 1));
                 QApplication::clipboard()->setMimeData(pasted);
                 editor()->paste();
             }},
            {"click",
             [&] {
                 if (auto* button = qobject_cast<QAbstractButton*>(named(w[1])))
                     button->click();
             }},
            {"check",
             [&] {
                 if (auto* button = qobject_cast<QAbstractButton*>(named(w[1])))
                     button->setChecked(w[2] == "true");
             }},
            {"pick", [&] { pick(named(w[1]), rest(w, 2)); }},
            {"fill",
             [&] {
                 if (auto* line = qobject_cast<QLineEdit*>(named(w[1])))
                     line->setText(rest(w, 2));
             }},
#ifdef Q_OS_UNIX
            {"fifo", [&] { EXPECT_EQ(::mkfifo(QFile::encodeName(at(w[1])), 0600), 0); }},
#else
            {"fifo", [] { GTEST_SKIP() << "from here on: Windows has no FIFOs in folders"; }},
#endif
            {"clear", [&] { f.messages.clear(); }},
            // From here to the end no modal window may come.
            {"nodialog",
             [&] {
                 whenModal({}, [](QDialog* dialog) {
                     ADD_FAILURE() << "came: " << dialog->objectName().toStdString();
                     dialog->reject();
                 });
             }},
            {"mkdir", [&] { QDir().mkpath(at(w[1])); }},
            {"dclick",
             [&] {
                 QWidget* widget = named(w[1]);
                 const QPoint at(number(w.value(2)), number(w.value(3)));
                 QTest::mouseDClick(widget, Qt::LeftButton, {},
                                    at.isNull() ? widget->rect().center() : at);
                 QCoreApplication::processEvents();
             }},
            {"expect", [&] { expect(unescaped(w[1]), rest(w, 2)); }},
        };
        const auto verb = verbs.find(w[0]);
        if (verb == verbs.end())
            return ADD_FAILURE() << "no such step";
        verb->second();
    }

    // What the window shows under the name `what`, "name:argument" for those
    // that take one.
    void expect(const QString& what, const QString& value)
    {
        const QString arg = what.section(u':', 1);
        const auto record = [&] { return page(number(arg)); };
        const std::map<QString, std::function<QString()>> shown = {
            {"state", [&] { return state(); }},
            {"titles", [&] { return userTitles().join(u','); }},
            {"count", [&] { return field(book().pageCount()); }},
            {"shows", [&] { return window()->pageText(); }},
            {"caption", [&] { return window()->windowTitle(); }},
            // The open page in the book and the tabs, its caption and its text.
            {"showing",
             [&] {
                 return fields(book().recentPage(), tabs()->currentPage(),
                               window()->windowTitle().section(u" - "_qs, 1) + u'|' +
                                   window()->pageText());
             }},
            {"title", [&] { return record().title; }},
            {"previous", [&] { return field(book().previousPage()); }},
            {"tip", [&] { return field(window()->isTipShowing()); }},
            {"setting", [&] { return f.read(arg.section(u'/', 0, 0), arg.section(u'/', 1)); }},
            // A file, or the first matching a pattern, as the program's text.
            {"file", [&] { return CodePage::decode(readAll(matching(arg))); }},
            {"utf8", [&] { return QString::fromUtf8(readAll(at(arg))); }},
            // How many files match, and their names.
            {"files",
             [&] {
                 const QFileInfo pattern(at(arg));
                 const QStringList names =
                     pattern.dir().entryList({pattern.fileName()}, QDir::Files);
                 return (QStringList{field(names.size())} + names).join(u' ');
             }},
            {"tabs", [&] { return field(tabs()->pageCount()); }},
            {"widget",
             [&] {
                 QWidget* widget = named(arg);
                 if (auto* line = qobject_cast<QLineEdit*>(widget))
                     return line->text();
                 if (auto* label = qobject_cast<QLabel*>(widget))
                     return label->text();
                 if (auto* text = qobject_cast<QPlainTextEdit*>(widget))
                     return text->toPlainText();
                 if (auto* combo = qobject_cast<QComboBox*>(widget))
                     return combo->currentText();
                 QStringList paths;
                 auto* tree = qobject_cast<QTreeWidget*>(widget);
                 for (int row = 0; tree && row < tree->topLevelItemCount(); ++row)
                     paths << tree->topLevelItem(row)->toolTip(3);
                 return paths.join(u',');
             }},
            // How many places a line's text after its last tab starts at.
            {"columns",
             [&] {
                 auto* edit = qobject_cast<QPlainTextEdit*>(named(arg));
                 std::set<int> starts;
                 for (QTextBlock line = edit->document()->begin(); line.isValid();
                      line = line.next()) {
                     QTextCursor at(line);
                     at.setPosition(line.position() + int(line.text().lastIndexOf(u'\t')) + 1);
                     if (at.position() > line.position())
                         starts.insert(edit->cursorRect(at).x());
                 }
                 return field(int(starts.size()));
             }},
            {"told", [&] { return told(); }},
            {"proposed",
             [&] {
                 QCoreApplication::processEvents();
                 return box.shown ? box.proposed : u"none"_qs;
             }},
            {"text",
             [&] {
                 app->flushOpenPage();
                 return record().plainText();
             }},
            {"kind", [&] { return field(record().kind); }},
            // Page N of the data file, or of the file "N@pattern" names.
            {"saved",
             [&] {
                 const QString file = arg.section(u'@', 1);
                 return pageText(readAll(file.isEmpty() ? f.dataFile() : matching(file)),
                                 number(arg.section(u'@', 0, 0)));
             }},
            {"enabled", [&] { return field(action(arg) && action(arg)->isEnabled()); }},
            {"checked",
             [&] {
                 if (QAction* found = item(arg.toLatin1()))
                     return field(found->isChecked());
                 auto* button = qobject_cast<QAbstractButton*>(named(arg));
                 return field(button && button->isChecked());
             }},
            {"visible",
             [&] {
                 const QAction* found = item(arg.toLatin1());
                 const QWidget* widget = found ? nullptr : named(arg);
                 return field(found ? found->isVisible() : widget && widget->isVisible());
             }},
            {"popup",
             [&] {
                 return popupItems([&] { clickTab(number(arg), Qt::RightButton); }).join(u' ');
             }},
            {"found",
             [&] {
                 return fields(book().recentPage(),
                               editor()->text().mid(editor()->selStart(), editor()->selLength()));
             }},
            {"format",
             [&] {
                 return fields(editor()->selBold(), editor()->selItalic(), editor()->selUnderline(),
                               editor()->selStrikeThru(), editor()->selFontSize(),
                               editor()->selColor());
             }},
            // The captions of the checked items named so.
            {"marks", [&] { return marks(arg); }},
            {"buttonwidth", [&] { return field(window()->buttonWidthTwips()); }},
            {"status", [&] { return window()->statusBar()->statusText(); }},
            {"folder", [&] { return app->storage().filePath(); }},
            {"modal",
             [&] {
                 QWidget* modal = QApplication::activeModalWidget();
                 return modal && modal->isVisible() ? modal->objectName() : u"none"_qs;
             }},
            // Whether the file (the data file) still holds the book last written.
            {"kept",
             [&] { return field(readAll(arg.isEmpty() ? f.dataFile() : at(arg)) == stored); }},
            {"exists", [&] { return field(QFileInfo::exists(at(arg))); }},
            // The password in use and the one stored.
            {"password",
             [&] {
                 return fields(app->currentPassword(),
                               ObscuredPassword::reveal(f.read("Privacy", "Password")));
             }},
            // How many styles and those the style menu offers.
            {"styles",
             [&] {
                 QStringList names;
                 for (const QAction* style : actions("mnuTextStyles"))
                     if (style->isVisible())
                         names << style->text();
                 return fields(app->appStyles().count(), names);
             }},
            {"tabstops", [&] { return field(editor()->selTabCount()); }},
        };
        const auto getter = shown.find(what.section(u':', 0, 0));
        if (getter == shown.end())
            return ADD_FAILURE() << "nothing named " << what.toStdString();
        const QString actual = getter->second();
        if (value.startsWith(u'^'))
            EXPECT_TRUE(actual.startsWith(value.mid(1))) << actual.toStdString();
        else if (value.startsWith(u'!'))
            EXPECT_FALSE(actual.contains(value.mid(1))) << actual.toStdString();
        else if (value.startsWith(u'~'))
            EXPECT_TRUE(actual.contains(value.mid(1))) << actual.toStdString();
        else
            EXPECT_TRUE(actual == value) << "shows: " << actual.toStdString();
    }

    // A path under the test's folder, or an absolute one.
    QString at(const QString& path) const
    {
        return QDir(f.dir.path()).filePath(path);
    }
    // The first file the pattern matches under the test's folder.
    QString matching(const QString& pattern) const
    {
        const QFileInfo info(at(pattern));
        return info.dir().filePath(info.dir().entryList({info.fileName()}, QDir::Files).value(0));
    }
    // The letter pages and the user's given so far, as a data file at `path`.
    void writeBook(const QString& path)
    {
        std::vector<PageRecord> all = DataFile::defaultPages();
        for (const auto& [letter, text] : letters)
            all[std::size_t(letter - 1)].text = text;
        all.insert(all.end(), pages.begin(), pages.end());
        writeAll(path, DataFile::serialize(all));
        pages.clear();
        letters.clear();
    }
    // Makes the row with `text` current: in a list its text or its number, in
    // a tree the path its tooltip names ("path*": starting so).
    static void pick(QWidget* widget, const QString& text)
    {
        if (auto* combo = qobject_cast<QComboBox*>(widget))
            return combo->setCurrentIndex(combo->findText(text));
        if (auto* list = qobject_cast<QListWidget*>(widget)) {
            const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly);
            return found.isEmpty() ? list->setCurrentRow(text.toInt())
                                   : list->setCurrentItem(found[0]);
        }
        auto* tree = qobject_cast<QTreeWidget*>(widget);
        for (int row = 0; tree && row < tree->topLevelItemCount(); ++row) {
            const QString path = tree->topLevelItem(row)->toolTip(3);
            if (path == text || (text.endsWith(u'*') && path.startsWith(text.chopped(1))))
                return tree->setCurrentItem(tree->topLevelItem(row));
        }
        ADD_FAILURE() << "nothing to pick: " << text.toStdString();
    }
    QString marks(const QString& name) const
    {
        QStringList out;
        for (const QAction* found : actions(name))
            if (found->isChecked())
                out << found->text();
        return out.join(u',');
    }
    // The line with $DIR and $HISTORY and the path after them written as the
    // program shows it (on Windows with backslashes), escaped.
    QString withPaths(const QString& line) const
    {
        static const QRegularExpression named(u"\\$(DIR|HISTORY)([^\\s\\\\]*)"_qs);
        QString out;
        qsizetype from = 0;
        for (const QRegularExpressionMatch& m : named.globalMatch(line)) {
            const QString folder = m.captured(1) == u"DIR"_qs ? f.dir.path()
                                   : app ? app->folders().historyFolder.chopped(1)
                                         : u"$HISTORY"_qs;
            out += line.mid(from, m.capturedStart() - from) +
                   QDir::toNativeSeparators(folder + m.captured(2))
                       .replace(u'\\', u"\\\\"_qs)
                       .replace(u' ', u"\\_"_qs);
            from = m.capturedEnd();
        }
        return out + line.mid(from);
    }
    // Runs the steps, the first being line `first`. The steps between "inside
    // NAME" and "end" wait for the modal window NAME (any: "*") and run in it
    // once it comes; what they leave open is cancelled.
    void runSteps(const QStringList& lines, int first)
    {
        for (qsizetype i = 0; i < lines.size() && !HasFatalFailure() && !IsSkipped(); ++i) {
            const QString step = withPaths(lines[i]).trimmed();
            if (step.isEmpty() || step.startsWith(u'#'))
                continue;
            SCOPED_TRACE(GetParam().name + " line " + std::to_string(first + i) + ": " +
                         step.toStdString());
            const Words words = step.split(u' ', Qt::SkipEmptyParts);
            if (words[0] != "inside") {
                run(words);
                continue;
            }
            const qsizetype from = i + 1;
            for (int depth = 1; depth && ++i < lines.size();)
                depth += lines[i].trimmed().startsWith(u"inside ") - (lines[i].trimmed() == u"end");
            const QStringList block = lines.mid(from, i - from);
            ++pendingDialogs;
            whenModal(words[1] == u"*" ? QString() : words[1],
                      [this, block, line = first + int(from)](QDialog* dialog) {
                          --pendingDialogs;
                          const QPointer<QDialog> open(dialog);
                          runSteps(block, line);
                          if (open && open->isVisible())
                              open->reject();
                      });
        }
    }

    std::vector<PageRecord> pages;
    std::map<int, QString> letters;
    int pendingDialogs = 0;
    QByteArray stored;
    InputBoxAnswer box;
};

TEST_P(Script, RunsAsWritten)
{
    runSteps(QString::fromUtf8(GetParam().parts.value(0)).split(u'\n'), 1);
    EXPECT_EQ(pendingDialogs, 0) << "a dialog that never came";
}

std::string caseName(const ::testing::TestParamInfo<DataCase>& info)
{
    std::string out;
    bool upper = true;
    for (const char c : info.param.name) {
        if (std::isalnum(static_cast<unsigned char>(c)))
            out += upper ? char(std::toupper(static_cast<unsigned char>(c))) : c;
        upper = !std::isalnum(static_cast<unsigned char>(c));
    }
    return out;
}

} // namespace

#define VELKARO_SCENARIOS(suite, file)                                                             \
    INSTANTIATE_TEST_SUITE_P(suite, Script, ::testing::ValuesIn(readCases("app/" file)), caseName)

VELKARO_SCENARIOS(PageCommands, "page_commands.cases");
VELKARO_SCENARIOS(Find, "find.cases");
VELKARO_SCENARIOS(Formatting, "formatting.cases");
VELKARO_SCENARIOS(Options, "options.cases");
VELKARO_SCENARIOS(Backups, "backups.cases");
VELKARO_SCENARIOS(Contacts, "contacts.cases");
VELKARO_SCENARIOS(NotebookWindow, "notebook_window.cases");
