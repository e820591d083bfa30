#include "core/event_log.h"
#include "core/localization.h"
#include "ui/form_localizer.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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

TEST_F(FormLocalizerTest, EveryKindOfCaptionIsLookedUpByObjectNameAndArraysShareOne)
{
    localize("[frmTest]\r\n@=Window\r\nlblWhat=Find\\nwhat:\r\ncmdOK=Done\r\nchkItem=Same\r\n"
             "fraBox=Box\r\nmnuTextColorS=Colour\r\nmnuMain=Menu\r\nmnuMainSave=Save\r\n"
             "pagGeneral=General\r\ncmdOK.Tag=Tagged\r\n");
    EXPECT_EQ((QStringList{m_window.windowTitle(), m_label->text(), m_button->text(),
                           m_menu->title(), m_action->text(), m_tabs->tabText(0),
                           m_items[0]->text(), m_items[1]->text(), m_group->title()}),
              (QStringList{"Window", "Find\nwhat:", "Done", "Menu", "Save", "General", "Same",
                           "Same", "Box"}));
    EXPECT_EQ(m_color->text(), "&Бирюзовый") << "a run-time array item keeps its own caption";
    EXPECT_EQ(m_unnamed->text(), "без имени");
    EXPECT_EQ(m_button->property("Tag").toString(), "@ Общие");
}

TEST_F(FormLocalizerTest, ModeCaptionAndTagsWhenAskedFor)
{
    localize("[frmTest]\r\n@=Plain\r\n@Login=Log in\r\ncmdOK.Tag=@ General\r\n", "Login",
             FormLocalizer::Tags::Localize);
    EXPECT_EQ(m_window.windowTitle(), "Log in");
    EXPECT_EQ(m_button->property("Tag").toString(), "@ General");
    EXPECT_EQ(m_label->text(), "Что:") << "a caption without an entry stays as it is";
}

} // namespace
