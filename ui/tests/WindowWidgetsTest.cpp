#include "UiTestSupport.h"

#include "ui/CBaseWindow.h"
#include "ui/DlpMainWindow.h"
#include "ui/DlpMenuBar.h"
#include "ui/DlpModelOperateWidget.h"
#include "ui/DlpPanelPlaceholder.h"
#include "ui/DlpProccessBar.h"
#include "ui/DlpStatusBarWidget.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <thread>

namespace
{

class UiWidgets : public ::testing::Test
{
  protected:
    void SetUp() override { ASSERT_TRUE(uitest::useLanguage(QStringLiteral("en"))); }
};

struct MenuCase {
    const char *name;
    const char *menuKey;
    const char *menuText;
    QStringList keys;
    QStringList texts;
};

class MenuEntries : public UiWidgets, public ::testing::WithParamInterface<MenuCase>
{
};

TEST_P(MenuEntries, appearInOrderWithEnglishTexts)
{
    const MenuCase &c = GetParam();
    DlpMenuBar bar;
    QMenu *menu = bar.menu(QLatin1String(c.menuKey));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->title(), QLatin1String(c.menuText));
    QStringList keys;
    QStringList texts;
    for (QAction *action : menu->actions()) {
        keys << action->objectName();
        texts << action->text();
    }
    EXPECT_EQ(keys, c.keys);
    EXPECT_EQ(texts, c.texts);
}

INSTANTIATE_TEST_SUITE_P(
    DlpMenuBar, MenuEntries,
    ::testing::Values(
        MenuCase{"File",
                 "file",
                 "File",
                 {"importStl", "exportStl", "importVxpj", "exportVxpj", "exportVxpr"},
                 {"Import STL", "Export STL", "Import Vxpj", "Export Vxpj", "Export Vxpr"}},
        MenuCase{"Tool",
                 "tool",
                 "Tool",
                 {"up", "deviceManage", "createBasicModel", "Languages", "login", "choise"},
                 {"Upload\\Print", "Device", "Creat basic model", "Languages", "Log in", "Choice"}},
        MenuCase{"Edit", "edit", "Edit", {"undo", "redo"}, {"Undo", "Redo"}},
        MenuCase{"Window", "window", "Window", {"model_infos"}, {"Model info list"}},
        MenuCase{"Help", "help", "Help", {"aboutSoft"}, {"About software"}}),
    [](const ::testing::TestParamInfo<MenuCase> &info) { return std::string(info.param.name); });

TEST_F(UiWidgets, menusComeInOrderAndHiddenEntriesStayHidden)
{
    DlpMenuBar bar;
    EXPECT_EQ(bar.menuKeys(), QStringList({"file", "edit", "tool", "window", "help"}));
    QStringList titles;
    for (QAction *action : bar.actions()) {
        titles << action->text();
    }
    EXPECT_EQ(titles, QStringList({"File", "Edit", "Tool", "Window", "Help"}));
    EXPECT_FALSE(bar.action("login")->isVisible());
    EXPECT_FALSE(bar.action("choise")->isVisible());
    EXPECT_TRUE(bar.action("importStl")->isVisible());
    EXPECT_EQ(bar.height(), DlpMenuBar::BarHeight);
}

struct PanelCase {
    const char *name;
    DlpModelOperateWidget::Button button;
    bool pulledUp;
};

class PanelToggle : public UiWidgets, public ::testing::WithParamInterface<PanelCase>
{
};

TEST_P(PanelToggle, buttonShowsPanelBesideTheStripAndSecondClickHidesIt)
{
    const PanelCase &c = GetParam();
    DlpMainWindow window(nullptr);
    window.resize(1280, 760);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    DlpModelOperateWidget *strip = window.toolStrip();
    EXPECT_EQ(strip->pos(), QPoint(1, 70));
    QWidget *panel = window.panel(c.button);
    ASSERT_NE(panel, nullptr);
    EXPECT_FALSE(panel->isVisible());

    QTest::mouseClick(strip->button(c.button), Qt::LeftButton);
    uitest::settle();
    EXPECT_TRUE(panel->isVisible());
    EXPECT_TRUE(strip->isButtonActive(c.button));
    EXPECT_EQ(panel->x(), strip->geometry().right() + 1 + 11);
    const int rowY = strip->y() + int(c.button) * strip->buttonHeight();
    if (c.pulledUp && rowY + panel->height() > window.editPage()->height()) {
        EXPECT_EQ(panel->geometry().bottom() + 1, window.editPage()->height());
    } else {
        EXPECT_EQ(panel->y(), rowY);
    }
    // Only one panel at a time.
    for (int i = 0; i < DlpModelOperateWidget::ButtonCount; ++i) {
        auto other = DlpModelOperateWidget::Button(i);
        if (other != c.button && window.panel(other)) {
            EXPECT_FALSE(window.panel(other)->isVisible()) << i;
            EXPECT_FALSE(strip->isButtonActive(other)) << i;
        }
    }

    QTest::mouseClick(strip->button(c.button), Qt::LeftButton);
    uitest::settle();
    EXPECT_FALSE(panel->isVisible());
    EXPECT_FALSE(strip->isButtonActive(c.button));
}

INSTANTIATE_TEST_SUITE_P(
    DlpMainWindow, PanelToggle,
    ::testing::Values(PanelCase{"Scale", DlpModelOperateWidget::Scale, false},
                      PanelCase{"Rotate", DlpModelOperateWidget::Rorate, false},
                      PanelCase{"Layout", DlpModelOperateWidget::Layout, false},
                      PanelCase{"JewelrySupport", DlpModelOperateWidget::JewelrySupport, true},
                      PanelCase{"Support", DlpModelOperateWidget::Support, true}),
    [](const ::testing::TestParamInfo<PanelCase> &info) { return std::string(info.param.name); });

TEST_F(UiWidgets, supportPanelThatWouldNotFitEndsAtThePageBottom)
{
    DlpMainWindow window(nullptr);
    auto *tall = new QWidget;
    tall->setFixedSize(200, 500);
    window.setPanel(DlpModelOperateWidget::Support, tall);
    window.resize(1280, 700);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.addSupportWidget();
    ASSERT_TRUE(tall->isVisible());
    EXPECT_EQ(tall->geometry().bottom() + 1, window.editPage()->height());
}

TEST_F(UiWidgets, switchingPanelsClosesTheFirstAndMovesTheHighlight)
{
    DlpMainWindow window(nullptr);
    window.show();
    window.addScaleWidget();
    window.addMoveWidget();
    EXPECT_FALSE(window.panel(DlpModelOperateWidget::Scale)->isVisible());
    EXPECT_TRUE(window.panel(DlpModelOperateWidget::Layout)->isVisible());
    EXPECT_FALSE(window.toolStrip()->isButtonActive(DlpModelOperateWidget::Scale));
    EXPECT_TRUE(window.toolStrip()->isButtonActive(DlpModelOperateWidget::Layout));
}

TEST_F(UiWidgets, placeholderPanelShowsItsTranslatedTitle)
{
    DlpMainWindow window(nullptr);
    auto *scale = qobject_cast<DlpPanelPlaceholder *>(window.panel(DlpModelOperateWidget::Scale));
    ASSERT_NE(scale, nullptr);
    EXPECT_EQ(scale->title(), QStringLiteral("Scale"));
}

TEST_F(UiWidgets, toolStripToolTipsAreEnglishTexts)
{
    DlpModelOperateWidget strip;
    EXPECT_EQ(strip.button(DlpModelOperateWidget::Load)->toolTip(), QStringLiteral("Load model"));
    EXPECT_EQ(strip.button(DlpModelOperateWidget::Rorate)->toolTip(),
              QStringLiteral("Rotate model"));
    EXPECT_EQ(strip.button(DlpModelOperateWidget::Support)->toolTip(), QStringLiteral("Supports"));
}

TEST_F(UiWidgets, deviceButtonSwitchesToTheDeviceTab)
{
    DlpMainWindow window(nullptr);
    window.show();
    QSignalSpy spy(window.toolStrip(), &DlpModelOperateWidget::sShowManage);
    QTest::mouseClick(window.toolStrip()->button(DlpModelOperateWidget::Device), Qt::LeftButton);
    EXPECT_EQ(spy.count(), 1);
    EXPECT_EQ(window.tabs()->currentIndex(), 1);
    EXPECT_EQ(window.tabs()->tabText(0), QStringLiteral("Program editor"));
    EXPECT_EQ(window.tabs()->tabText(1), QStringLiteral("Current device"));
}

TEST_F(UiWidgets, statusLabelShowsAndHidesWithTheRangeState)
{
    QWidget parent;
    parent.resize(800, 600);
    DlpStatusBarWidget label(&parent);
    parent.show();
    label.onOverBoundLabel(true);
    EXPECT_TRUE(label.isVisible());
    EXPECT_EQ(label.text(), QStringLiteral("Beyond printing range"));
    EXPECT_EQ(label.geometry().bottom() + 1, parent.height());
    EXPECT_NEAR(label.geometry().center().x(), parent.width() / 2, 1);
    label.onOverBoundLabel(false);
    EXPECT_FALSE(label.isVisible());
}

TEST_F(UiWidgets, statusLabelFollowsTheTabsAndItsLastState)
{
    DlpMainWindow window(nullptr);
    window.show();
    window.statusLabel()->onOverBoundLabel(true);
    window.tabs()->setCurrentIndex(1);
    EXPECT_FALSE(window.statusLabel()->isVisible());
    window.tabs()->setCurrentIndex(0);
    EXPECT_TRUE(window.statusLabel()->isVisible());
}

class ProgressWindow : public UiWidgets
{
  protected:
    void SetUp() override
    {
        UiWidgets::SetUp();
        m_main.show();
        m_bar = DlpProccessBar::instance();
        m_bar->setMainWindow(&m_main);
        m_bar->end();
        uitest::settle();
    }
    void TearDown() override
    {
        m_bar->end();
        uitest::settle();
        m_bar->setMainWindow(nullptr);
    }

    QWidget m_main;
    DlpProccessBar *m_bar = nullptr;
};

TEST_F(ProgressWindow, opensOnFirstReportWithPercentTitleAndDisablesTheWindow)
{
    EXPECT_FALSE(m_bar->isVisible());
    m_bar->report(QStringLiteral("ModalLoding"), 42, true);
    // Nothing happens until the GUI thread runs the queued calls.
    EXPECT_FALSE(m_bar->isVisible());
    uitest::settle();
    EXPECT_TRUE(m_bar->isVisible());
    EXPECT_EQ(m_bar->windowTitle(), QStringLiteral("42%"));
    EXPECT_EQ(m_bar->value(), 42);
    EXPECT_EQ(m_bar->text(), QStringLiteral("Loading model"));
    EXPECT_TRUE(m_bar->isCancelVisible());
    EXPECT_FALSE(m_main.isEnabled());
    EXPECT_TRUE(m_bar->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(m_bar->cancelButton()->text(), QStringLiteral("Cancel"));
}

TEST_F(ProgressWindow, unknownStageTextIsShownAsGiven)
{
    m_bar->report(QStringLiteral("model.stl"), 5, false);
    uitest::settle();
    EXPECT_EQ(m_bar->text(), QStringLiteral("model.stl"));
    EXPECT_FALSE(m_bar->isCancelVisible());
}

class ProgressEnd : public ProgressWindow, public ::testing::WithParamInterface<int>
{
};

TEST_P(ProgressEnd, valuesAbove97CloseTheWindowAndReEnableTheMainWindow)
{
    m_bar->report(QStringLiteral("Slicing"), 50, true);
    uitest::settle();
    ASSERT_TRUE(m_bar->isVisible());
    m_bar->report(QStringLiteral("Slicing"), GetParam(), true);
    uitest::settle();
    EXPECT_FALSE(m_bar->isVisible());
    EXPECT_TRUE(m_main.isEnabled());
}

INSTANTIATE_TEST_SUITE_P(DlpProccessBar, ProgressEnd, ::testing::Values(98, 99, 100));

TEST_F(ProgressWindow, value97KeepsTheWindowOpen)
{
    m_bar->report(QStringLiteral("Slicing"), 97, true);
    uitest::settle();
    EXPECT_TRUE(m_bar->isVisible());
    EXPECT_EQ(m_bar->windowTitle(), QStringLiteral("97%"));
}

TEST_F(ProgressWindow, reportsFromAWorkerThreadReachTheWindow)
{
    std::thread worker([this] {
        for (int v = 0; v <= 60; v += 20) {
            m_bar->report(QStringLiteral("Preparing"), v, true);
        }
    });
    worker.join();
    uitest::settle();
    EXPECT_TRUE(m_bar->isVisible());
    EXPECT_EQ(m_bar->windowTitle(), QStringLiteral("60%"));
    EXPECT_FALSE(m_main.isEnabled());
}

TEST_F(ProgressWindow, cancelButtonEmitsCancel)
{
    m_bar->report(QStringLiteral("Slicing"), 10, true);
    uitest::settle();
    QSignalSpy spy(m_bar, &DlpProccessBar::sCancelProcess);
    QTest::mouseClick(m_bar->cancelButton(), Qt::LeftButton);
    EXPECT_EQ(spy.count(), 1);
}

TEST_F(ProgressWindow, percentIsZeroWithoutMaximum)
{
    m_bar->onProgress(QStringLiteral("Slicing"), 5, 0);
    EXPECT_EQ(m_bar->windowTitle(), QStringLiteral("0%"));
    m_bar->onProgress(QStringLiteral("Slicing"), 3, 12);
    EXPECT_EQ(m_bar->windowTitle(), QStringLiteral("25%"));
}

TEST_F(UiWidgets, baseWindowIsFramelessAndMaximisesOnTitleDoubleClick)
{
    CBaseWindow window;
    window.setTitle(QStringLiteral("Resinor"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Resinor"));
    EXPECT_TRUE(window.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(window.titleBar()->height(), CBaseWindow::TitleBarHeight);
    window.resize(640, 480);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.maxButton()->toolTip(), QStringLiteral("Max"));
    QTest::mouseDClick(window.titleBar(), Qt::LeftButton, {}, QPoint(200, 20));
    uitest::settle();
    EXPECT_TRUE(window.isMaximized());
    EXPECT_EQ(window.maxButton()->toolTip(), QStringLiteral("Normal"));
    QTest::mouseDClick(window.titleBar(), Qt::LeftButton, {}, QPoint(200, 20));
    uitest::settle();
    EXPECT_FALSE(window.isMaximized());
    EXPECT_EQ(window.maxButton()->toolTip(), QStringLiteral("Max"));
}

TEST_F(UiWidgets, baseWindowMovesWhenDraggedByItsTitleBar)
{
    CBaseWindow window;
    window.setGeometry(100, 100, 640, 480);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QPoint start = window.pos();
    QWidget *bar = window.titleBar();
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(200, 20));
    QMouseEvent move(QEvent::MouseMove, QPoint(260, 50), bar->mapToGlobal(QPoint(260, 50)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &move);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(260, 50));
    uitest::settle();
    EXPECT_EQ(window.pos(), start + QPoint(60, 30));
}

TEST_F(UiWidgets, closeButtonAsksToExit)
{
    CBaseWindow window;
    QSignalSpy spy(&window, &CBaseWindow::sExitApp);
    QTest::mouseClick(window.closeButton(), Qt::LeftButton);
    EXPECT_EQ(spy.count(), 1);
    EXPECT_EQ(window.closeButton()->toolTip(), QStringLiteral("Close"));
    EXPECT_EQ(window.minButton()->toolTip(), QStringLiteral("Min"));
}

} // namespace
