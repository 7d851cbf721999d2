#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "config/QtHosts.h"
#include "config/QtMousePointer.h"
#include "link/MessageBox.h"
#include "link/UiHooks.h"

namespace tavo {
namespace {

class QtHosts : public ::testing::Test {
  protected:
    void SetUp() override { InstallQtHosts(); }
    void TearDown() override { RemoveQtHosts(); }
};

// Acts on the message box once it is on screen.
void OnMessageBox(std::function<void(QMessageBox&)> action) {
    QTimer::singleShot(0, [action = std::move(action)] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            ADD_FAILURE() << "no message box";
            return;
        }
        action(*box);
    });
}

TEST_F(QtHosts, MessageBoxShowsTheRequestAndReturnsTheAnswer) {
    OnMessageBox([](QMessageBox& box) {
        EXPECT_EQ(box.windowTitle(), "Replace file?");
        EXPECT_EQ(box.text(), "File <a.txt> exists.  Replace it?");
        EXPECT_EQ(box.textFormat(), Qt::PlainText);
        EXPECT_EQ(box.icon(), QMessageBox::Question);
        EXPECT_EQ(box.standardButtons(), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        EXPECT_EQ(static_cast<QAbstractButton*>(box.defaultButton()), box.button(QMessageBox::No));
        box.button(QMessageBox::Yes)->click();
    });
    EXPECT_EQ(ShowMessage("Replace file?", "File <a.txt> exists.  Replace it?", MsgIcon::Question,
                          MsgButtons::YesNoCancel, MsgResult::No),
              MsgResult::Yes);

    // Each icon as the box shows it; Esc answers Cancel where there is one, No for Yes/No, OK for OK alone.
    for (auto [icon, shown, buttons, answer] :
         {std::tuple{MsgIcon::Critical, QMessageBox::Critical, MsgButtons::YesNoCancel, MsgResult::Cancel},
          std::tuple{MsgIcon::Exclamation, QMessageBox::Warning, MsgButtons::YesNo, MsgResult::No},
          std::tuple{MsgIcon::Information, QMessageBox::Information, MsgButtons::Ok, MsgResult::Ok},
          std::tuple{MsgIcon::None, QMessageBox::NoIcon, MsgButtons::OkCancel, MsgResult::Cancel}}) {
        OnMessageBox([shown = shown](QMessageBox& box) {
            EXPECT_EQ(box.icon(), shown);
            QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QCoreApplication::sendEvent(&box, &esc);
        });
        EXPECT_EQ(ShowMessage("Error", "text", icon, buttons, MsgResult::Ok), answer);
    }
}

TEST_F(QtHosts, SerialWaitsLetWindowEventsRunAndTheActiveWindowGivesThePointer) {
    bool ran = false;
    QTimer::singleShot(0, [&ran] { ran = true; });
    YieldToUi();
    EXPECT_TRUE(ran);

    IMousePointerHost* host = MousePointerHost();
    ASSERT_NE(host, nullptr);
    ASSERT_EQ(QApplication::activeWindow(), nullptr);
    EXPECT_FALSE(host->HasActiveWindow());
    EXPECT_EQ(host->MousePointer(), -1);

    QWidget window;
    window.show();
    window.activateWindow();
    QCoreApplication::processEvents();
    if (QApplication::activeWindow() != &window) GTEST_SKIP() << "this platform activates no window";
    EXPECT_TRUE(host->HasActiveWindow());
    EXPECT_EQ(host->MousePointer(), kDefaultPointer);
    host->SetMousePointer(kHourglassPointer);
    EXPECT_EQ(window.cursor().shape(), Qt::WaitCursor);
    EXPECT_EQ(host->MousePointer(), kHourglassPointer);
    host->SetMousePointer(kDefaultPointer);
    EXPECT_EQ(host->MousePointer(), kDefaultPointer);
    EXPECT_EQ(window.cursor().shape(), Qt::ArrowCursor);
}

TEST(WidgetMousePointer, ReadsTheCursorShownHoweverItWasSet) {
    // A window that set its hourglass itself (a busy device window) must read as
    // 11, so that a port operation that borrows the pointer gives the hourglass back.
    QWidget window;
    window.setCursor(Qt::WaitCursor);
    EXPECT_EQ(WidgetMousePointer(window), kHourglassPointer);
    SetWidgetMousePointer(window, kHourglassPointer);
    window.unsetCursor();
    EXPECT_EQ(WidgetMousePointer(window), kDefaultPointer);

    QWidget child(&window);
    EXPECT_EQ(WidgetMousePointer(child), kDefaultPointer);
    SetWidgetMousePointer(child, 2);
    EXPECT_EQ(child.cursor().shape(), Qt::CrossCursor);
    SetWidgetMousePointer(child, 99);  // no such pointer: ignored
    EXPECT_EQ(WidgetMousePointer(child), 2);
}

}  // namespace
}  // namespace tavo
