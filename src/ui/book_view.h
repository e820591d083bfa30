#pragma once

#include <QFont>
#include <QString>
#include <QStringList>
#include <functional>

class Book;
class QTextDocument;
class QWidget;
struct PageRecord;

// What the book session and the commands ask of the window that shows the
// book: intents, no widgets. The notebook window carries them out; a test
// gives the session a view of its own.
class BookView
{
public:
    // The options that change how the window looks.
    struct Display
    {
        double buttonWidth = 600;
        bool status = true;
        quint32 pageColor = 0x80000005u;
        bool enableSort = false;
        bool moveToEnd = false;
        double tabStop = 3400;
        int lastIntPage = 14;
        QString shortcuts; // the localized "Shortcuts" entry
        QStringList styleNames;
        bool codePageOnly = false; // plain-text mode: the book keeps Windows-1251 only
    };

    virtual ~BookView() = default;

    // The window a question or a dialog opens over.
    virtual QWidget* dialogParent() = 0;
    virtual int currentPage() const = 0;
    // The tab column is made anew from the book and the display options; the
    // page to show comes next, through showPage.
    virtual void rebuildTabs(const Book& book, const Display& display) = 0;
    // Shows page `index` without counting it as an edit.
    virtual void showPage(const PageRecord& page, int index) = 0;

    // The open page's text as the user left it, when it changed since the
    // last call; the page record takes it only when somebody reads it.
    virtual bool takePageEdits(QString& richText) = 0;
    virtual void dropPageEdits() = 0;
    // The open page's plain text, CR LF between lines.
    virtual QString pageText() const = 0;
    // The font the page shows text in that carries no font of its own.
    virtual QFont pageFont() const = 0;
    // Each of these is one edit of the user's, which one Undo takes back:
    // the whole text replaced, contact entries appended (like a paste), the
    // page's document changed by `edit`.
    virtual void replacePageText(const QString& plain) = 0;
    virtual void appendEntries(const QString& entries) = 0;
    virtual void editOpenPage(const std::function<void(QTextDocument&)>& edit) = 0;

    virtual void setSavedState(bool saved) = 0;
    virtual void showStatusText(const QString& text) = 0;
    // Shown in place of the standing status text until the mouse moves over
    // the window.
    virtual void showNotice(const QString& text) = 0;
    // The editor's style submenu, for styles changed between rebuilds.
    virtual void showStyleNames(const QStringList& names) = 0;
    // Where the address pages' second column starts.
    virtual double tabStopTwips() const = 0;
};
