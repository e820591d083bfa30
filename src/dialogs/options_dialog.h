#pragma once

#include "core/built_in_text.h"

#include <QDialog>
#include <functional>

class MessageService;
class OptionsHost;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class StylesPage;
class CueTextBox;

// `frmOptions`: the program's settings on five pages. OK checks the numbers,
// saves the book, moves it when its folder changed and only then sets the
// options; Cancel keeps them as they were. The styles page and the password
// buttons act at once, so their changes outlive a Cancel.
class OptionsDialog : public QDialog
{
    Q_OBJECT

public:
    // A text of the built-in table as the user's language has it.
    using TextLookup = std::function<QString(TextId id)>;
    // Gives each control its localized caption (by objectName, current
    // caption as default) and each page its localized "Tag".
    using FormLocalize = std::function<void(QWidget* form)>;

    OptionsDialog(OptionsHost& host, MessageService& messages, TextLookup text,
                  FormLocalize localize, QWidget* owner = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A number field with its range and the message that gives the range.
    struct NumberField
    {
        QLineEdit* field;
        double minimum;
        double maximum;
        TextId message;
    };

    void buildControls();
    QWidget* buildGeneralPage();
    QWidget* buildBookPage();
    QWidget* buildEditingPage();
    QWidget* buildPrivacyPage();
    void loadSettings();
    void fillPageList();
    void showChosenPage();
    void showField(QWidget* field);
    void onCheckedNumber(QCheckBox* box, QLineEdit* field, const QString& fallback);
    void onUseRtfToggled(bool checked);
    bool isNumberKey(QObject* watched, QEvent* event);
    void leaveField(QObject* watched, QEvent* event);
    bool check(const NumberField& number);
    bool checkNumbers();
    std::optional<QString> storageFolder();
    void choosePageColor();
    void showPageColor();
    void browse();
    void defaultPath();
    void showPasswordState();
    void editPassword();
    void deletePassword();
    void encryptToggled(bool on);
    void onOk();
    void apply();
    void fillLanguages();
    void applyLanguage();

    OptionsHost& m_host;
    MessageService& m_messages;
    TextLookup m_text;
    FormLocalize m_localize;
    quint32 m_pageColor = 0;
    bool m_checking = false;

    QListWidget* m_pageList = nullptr;
    QLabel* m_headingLabel = nullptr;
    QList<QWidget*> m_pages;
    QCheckBox* m_enableSortCheck = nullptr;
    QCheckBox* m_statusCheck = nullptr;
    QLineEdit* m_widthEdit = nullptr;
    QCheckBox* m_tipsCheck = nullptr;
    QLineEdit* m_durationEdit = nullptr;
    QLabel* m_languageLabel = nullptr;
    QComboBox* m_languageCombo = nullptr;
    QCheckBox* m_autosaveCheck = nullptr;
    QLineEdit* m_autosaveDurationEdit = nullptr;
    QLineEdit* m_filePathEdit = nullptr;
    QCheckBox* m_useRtfCheck = nullptr;
    CueTextBox* m_useRtfEdit = nullptr;
    QRadioButton* m_pageStartRadio = nullptr;
    QRadioButton* m_pageEndRadio = nullptr;
    QRadioButton* m_systemColorRadio = nullptr;
    QRadioButton* m_customColorRadio = nullptr;
    QLabel* m_pageColorSample = nullptr;
    StylesPage* m_stylesPage = nullptr;
    QLabel* m_statusLabel = nullptr;
    QPushButton* m_editPasswordButton = nullptr;
    QPushButton* m_deletePasswordButton = nullptr;
    QCheckBox* m_encryptCheck = nullptr;
    QLabel* m_exportOffLabel = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
    QPushButton* m_helpButton = nullptr;
    NumberField m_width{};
    NumberField m_duration{};
    NumberField m_autosave{};
};
