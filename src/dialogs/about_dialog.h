#pragma once

#include "core/built_in_text.h"

#include <QDialog>
#include <functional>

class EventLog;
class MessageService;
class QFrame;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;

// `frmAbout`: the program's name and version with a feedback link; F2 shows
// the application's properties and F3 the acknowledgements, F1 goes back.
class AboutDialog : public QDialog
{
    Q_OBJECT

public:
    // A text of the built-in table as the user's language has it.
    using TextLookup = std::function<QString(TextId id)>;
    // Gives each control its localized caption (by objectName, current caption as default).
    using FormLocalize = std::function<void(QWidget* form)>;

    // `log` is the program's event log, whose state the properties screen shows.
    AboutDialog(QWidget* owner, TextLookup text, const FormLocalize& localize,
                MessageService& messages, const EventLog& log);

    // Shows the box modally over `owner` and returns when it is closed.
    static void showAbout(QWidget* owner, TextLookup text, const FormLocalize& localize,
                          MessageService& messages, const EventLog& log);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Screen
    {
        Version,
        AppInfo,
        Thanks
    };

    void buildControls();
    void layOut();
    void placeMailLink();
    QString feedbackLink() const;
    void composeVersion();
    void fillProperties(const EventLog& log);
    void fillThanks();
    void showScreen(Screen screen);
    void showProperty(const QListWidgetItem* item);

    TextLookup m_text;
    MessageService& m_messages;
    QString m_versionText; // `lblVersion`'s Tag: the text F1 brings back
    QWidget* m_band = nullptr;
    QLabel* m_iconLabel = nullptr;
    QLabel* m_titleLabel = nullptr;
    QLabel* m_versionLabel = nullptr;
    QFrame* m_frame = nullptr;
    QLabel* m_descriptionLabel = nullptr;
    QLabel* m_mailMeLabel = nullptr;
    QLabel* m_disclaimerLabel = nullptr;
    QWidget* m_secondScreen = nullptr;
    QListWidget* m_appPropertiesList = nullptr;
    QListWidget* m_thanksList = nullptr;
    QPushButton* m_okButton = nullptr;
};
