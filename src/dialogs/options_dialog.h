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

    QListWidget* m_lstPages = nullptr;
    QLabel* m_lblHeading = nullptr;
    QList<QWidget*> m_pages;
    QCheckBox* m_chkEnableSort = nullptr;
    QCheckBox* m_chkStatus = nullptr;
    QLineEdit* m_txtWidth = nullptr;
    QCheckBox* m_chkTips = nullptr;
    QLineEdit* m_txtDuration = nullptr;
    QLabel* m_lblLanguage = nullptr;
    QComboBox* m_cboLanguage = nullptr;
    QCheckBox* m_chkAutosave = nullptr;
    QLineEdit* m_txtAutosaveDuration = nullptr;
    QLineEdit* m_txtFilePath = nullptr;
    QCheckBox* m_chkUseRtf = nullptr;
    CueTextBox* m_txtUseRtf = nullptr;
    QRadioButton* m_optPageStart = nullptr;
    QRadioButton* m_optPageEnd = nullptr;
    QRadioButton* m_optSystemColor = nullptr;
    QRadioButton* m_optCustomColor = nullptr;
    QLabel* m_picPageColor = nullptr;
    StylesPage* m_stylesPage = nullptr;
    QLabel* m_lblStatus = nullptr;
    QPushButton* m_cmdEditPw = nullptr;
    QPushButton* m_cmdDeletePw = nullptr;
    QCheckBox* m_chkEncrypt = nullptr;
    QLabel* m_lblExportOff = nullptr;
    QPushButton* m_cmdOK = nullptr;
    QPushButton* m_cmdCancel = nullptr;
    QPushButton* m_cmdHelp = nullptr;
    NumberField m_width{};
    NumberField m_duration{};
    NumberField m_autosave{};
};
