// Captions looked up by object name, Qt's own texts in the interface's
// language, and the message boxes that speak it.

#include "core/event_log.h"
#include "core/localization.h"
#include "ui/form_localizer.h"
#include "ui/qt_message_service.h"
#include "widget_test.h"

namespace {

template <typename T, typename... Args> T* named(const QString& name, Args&&... args)
{
    auto* object = new T(std::forward<Args>(args)...);
    object->setObjectName(name);
    return object;
}

class FormLocalizerTest : public ::testing::Test
{
protected:
    FormLocalizerTest()
    {
        m_window.setObjectName("frmTest");
        m_window.setWindowTitle("Окно");
        m_button->setProperty("Tag", "@ Общие");
        m_action->setObjectName("mnuMainSave");
        m_tabs->addTab(named<QWidget>("pagGeneral"), "Общие");
        m_color->setObjectName("mnuTextColorS");
        m_color->setProperty("Index", 5);
    }
    void localize(const QByteArray& ini, const QString& mode = {},
                  FormLocalizer::Tags tags = FormLocalizer::Tags::Keep)
    {
        QFile file(m_dir.filePath("language.ini"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(ini);
        file.close();
        FormLocalizer::localize(&m_window, m_localization, mode, tags);
    }

    QTemporaryDir m_dir;
    EventLog m_log;
    Localization m_localization{{m_dir.path()}, m_log};
    QWidget m_window;
    QLabel* m_label = named<QLabel>("lblWhat", "Что:", &m_window);
    QCheckBox* m_items[2] = {named<QCheckBox>("chkItem", "Один", &m_window),
                             named<QCheckBox>("chkItem", "Два", &m_window)};
    QPushButton* m_button = named<QPushButton>("cmdOK", "ОК", &m_window);
    QGroupBox* m_group = named<QGroupBox>("fraBox", "Рамка", &m_window);
    QLabel* m_unnamed = new QLabel("без имени", &m_window);
    QMenu* m_menu = named<QMenu>("mnuMain", "Меню", &m_window);
    QAction* m_action = m_menu->addAction("Сохранить");
    QAction* m_color = m_menu->addAction("&Бирюзовый");
    QTabWidget* m_tabs = named<QTabWidget>("tabPages", &m_window);
};

TEST_F(FormLocalizerTest, EveryCaptionIsLookedUpByObjectNameArraysShareOneAndModeAndTagsWhenAsked)
{
    localize("[frmTest]\r\n@=Window\r\nlblWhat=Find\\nwhat:\r\ncmdOK=Done\r\nchkItem=Same\r\n"
             "fraBox=Box\r\nmnuTextColorS=Colour\r\nmnuMain=Menu\r\nmnuMainSave=Save\r\n"
             "pagGeneral=General\r\ncmdOK.Tag=Tagged\r\n");
    EXPECT_EQ((QStringList{m_window.windowTitle(), m_label->text(), m_button->text(),
                           m_menu->title(), m_action->text(), m_tabs->tabText(0),
                           m_items[0]->text(), m_items[1]->text(), m_group->title()}),
              (QStringList{"Window", "Find\nwhat:", "Done", "Menu", "Save", "General", "Same",
                           "Same", "Box"}));
    // A run-time array item keeps its own caption; tags stay unless asked for.
    EXPECT_EQ(
        QStringList({m_color->text(), m_unnamed->text(), m_button->property("Tag").toString()}),
        QStringList({u"&Бирюзовый"_qs, u"без имени"_qs, u"@ Общие"_qs}));
    // The caption of a mode, and tags, when asked for.
    localize("[frmTest]\r\n@=Plain\r\n@Login=Log in\r\ncmdOK.Tag=@ General\r\n", "Login",
             FormLocalizer::Tags::Localize);
    // A caption without an entry stays as it is.
    EXPECT_EQ(QStringList(
                  {m_window.windowTitle(), m_button->property("Tag").toString(), m_label->text()}),
              QStringList({"Log in", "@ General", "Find\nwhat:"}));
}

// The box the next action opens, read once it is up ("text|title|icon|buttons|
// format|has the parent"), answered with `press`.
QString answerNextBox(QMessageBox::StandardButton press, const std::function<void()>& open,
                      const QWidget* parent = nullptr)
{
    QString seen;
    QTimer::singleShot(0, [&seen, press, parent] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen = QStringList({box->text(), box->windowTitle(), QString::number(box->icon()),
                            QString::number(int(box->standardButtons())),
                            QString::number(box->textFormat()),
                            QString::number(box->parentWidget() == parent)})
                   .join(u'|');
        box->button(press)->click();
    });
    open();
    return seen;
}

// Errors: OK only, plain text, under the program's title; questions: Yes and
// No with the exclamation icon, over the window.
TEST(QtMessageService, ErrorsAndQuestionsLookAsTheirKindWants)
{
    QWidget window;
    QtMessageService messages;
    EXPECT_EQ(answerNextBox(QMessageBox::Ok,
                            [&] {
                                messages.show(MessageService::formatError(
                                    {AppError::TypeMismatch, "Type mismatch"}, "Subs", "Init"));
                            }),
              QString("Type mismatch (13)\nin Velkaro.Subs.Init |Velkaro Pro|%1|%2|%3|1")
                  .arg(QMessageBox::NoIcon)
                  .arg(QMessageBox::Ok)
                  .arg(Qt::PlainText));
    messages.setParentWindow(&window);
    bool answer = true;
    const QString question = answerNextBox(
        QMessageBox::No, [&] { answer = messages.ask("Удалить?"); }, &window);
    EXPECT_FALSE(answer);
    EXPECT_EQ(question.section(u'|', 2, 3) + question.section(u'|', 5),
              u"%1|%2"_qs.arg(QMessageBox::Warning).arg(int(QMessageBox::Yes | QMessageBox::No)) +
                  "1")
        << question;
    EXPECT_TRUE(
        answerNextBox(
            QMessageBox::Yes, [&] { answer = messages.ask("Удалить?", "Страница"); }, &window)
            .startsWith(u"Удалить?|Страница|"_qs));
    EXPECT_TRUE(answer);
}

} // namespace
