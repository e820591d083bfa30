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

template <typename T> T* named(QWidget* parent, const QString& name, const QString& text)
{
    auto* widget = new T(text, parent);
    widget->setObjectName(name);
    return widget;
}

class FormLocalizerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_window.setObjectName("frmTest");
        m_window.setWindowTitle("Окно");
        m_label = named<QLabel>(&m_window, "lblWhat", "Что:");
        m_items = {named<QCheckBox>(&m_window, "chkItem", "Один"),
                   named<QCheckBox>(&m_window, "chkItem", "Два")};
        m_button = named<QPushButton>(&m_window, "cmdOK", "ОК");
        m_group = named<QGroupBox>(&m_window, "fraBox", "Рамка");
        m_unnamed = new QLabel("без имени", &m_window);
        m_menu = new QMenu("Меню", &m_window);
        m_menu->setObjectName("mnuMain");
        m_action = m_menu->addAction("Сохранить");
        m_action->setObjectName("mnuMainSave");
        m_tabs = new QTabWidget(&m_window);
        m_tabs->setObjectName("tabPages");
        auto* page = new QWidget;
        page->setObjectName("pagGeneral");
        m_tabs->addTab(page, "Общие");
        m_button->setProperty("Tag", "@ Общие");
    }
    void writeIni(const QByteArray& text)
    {
        QFile file(m_dir.filePath("language.ini"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    QTemporaryDir m_dir;
    EventLog m_log;
    Localization m_localization{m_dir.path(), m_log};
    QWidget m_window;
    QLabel* m_label = nullptr;
    QList<QCheckBox*> m_items;
    QPushButton* m_button = nullptr;
    QGroupBox* m_group = nullptr;
    QLabel* m_unnamed = nullptr;
    QMenu* m_menu = nullptr;
    QAction* m_action = nullptr;
    QTabWidget* m_tabs = nullptr;
};

TEST_F(FormLocalizerTest, WithoutAFileEveryCaptionStays)
{
    FormLocalizer::localize(&m_window, m_localization, {}, FormLocalizer::Tags::Localize);
    EXPECT_EQ(m_window.windowTitle(), QString("Окно"));
    EXPECT_EQ(m_label->text(), QString("Что:"));
    EXPECT_EQ(m_items[1]->text(), QString("Два"));
    EXPECT_EQ(m_button->property("Tag").toString(), QString("@ Общие"));
}

TEST_F(FormLocalizerTest, EveryKindOfCaptionIsLookedUpByObjectName)
{
    writeIni("[frmTest]\r\n@=Window\r\nlblWhat=Find\\nwhat:\r\ncmdOK=Done\r\nfraBox=Box\r\n"
             "mnuMain=Menu\r\nmnuMainSave=Save\r\npagGeneral=General\r\n");
    FormLocalizer::localize(&m_window, m_localization);
    EXPECT_EQ(m_window.windowTitle(), QString("Window"));
    EXPECT_EQ(m_label->text(), QString("Find\nwhat:"));
    EXPECT_EQ(m_button->text(), QString("Done"));
    EXPECT_EQ(m_group->title(), QString("Box"));
    EXPECT_EQ(m_menu->title(), QString("Menu"));
    EXPECT_EQ(m_action->text(), QString("Save"));
    EXPECT_EQ(m_tabs->tabText(0), QString("General"));
    EXPECT_EQ(m_unnamed->text(), QString("без имени"));
    EXPECT_EQ(m_button->property("Tag").toString(), QString("@ Общие"));
}

TEST_F(FormLocalizerTest, ControlArrayItemsShareOneEntry)
{
    writeIni("[frmTest]\r\nchkItem=Same\r\n");
    FormLocalizer::localize(&m_window, m_localization);
    EXPECT_EQ(m_items[0]->text(), QString("Same"));
    EXPECT_EQ(m_items[1]->text(), QString("Same"));
}

TEST_F(FormLocalizerTest, ModeCaptionAndTagsWhenAskedFor)
{
    writeIni("[frmTest]\r\n@=Plain\r\n@Login=Log in\r\ncmdOK.Tag=@ General\r\n");
    FormLocalizer::localize(&m_window, m_localization, "Login", FormLocalizer::Tags::Localize);
    EXPECT_EQ(m_window.windowTitle(), QString("Log in"));
    EXPECT_EQ(m_button->property("Tag").toString(), QString("@ General"));
}

} // namespace
