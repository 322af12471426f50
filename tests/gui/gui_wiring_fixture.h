// The wired main window's tests: a MorvaWindow (the form with every part
// wired in) over the main window tests' settings folder and books, with
// dialogs answered in the test instead of shown.
#pragma once

#include <QDialog>
#include <QMenuBar>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window/window_wiring.h"
#include "tests/gui/main_window_fixture.h"

namespace morva::testing {

class WiringTest : public MainWindowTest {
 protected:
  ~WiringTest() override { window_.reset(); }

  // Makes and shows the wired window. Dialogs are recorded by class name and
  // answered by answerDialog_ (rejected when it is unset).
  TMorvaForm& OpenWired(MorvaWindowOptions options = {}) {
    FormOptions form;
    form.settingsFile = IniPath().string();
    form.readStartupRequest = false;
    form.reporter = &reporter_;
    form.screenArea = screenArea_;
    options.execDialog = [this](QDialog& dialog) {
      dialogs_.push_back(dialog.metaObject()->className());
      return answerDialog_ ? answerDialog_(dialog) : static_cast<int>(QDialog::Rejected);
    };
    window_ = std::make_unique<MorvaWindow>(std::move(form), std::move(options));
    window_->form().show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&window_->form()));
    return window_->form();
  }

  TMorvaForm& Form() { return window_->form(); }
  template <typename T>
  T* Child(const char* name) {
    T* widget = Form().findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  QAction* Act(const char* name) { return Child<QAction>(name); }
  // The search box of the wired form (hides the unwired fixture's).
  QComboBox* Box() { return Child<QComboBox>("ComboBox1"); }
  std::string StatusOf(int panel) { return Form().StatusText(panel).toStdString(); }
  // Types into the search box and presses 検索.
  void SearchWired(const std::string& utf8) {
    Form().SetSearchText(QString::fromStdString(utf8));
    QTest::mouseClick(Child<QPushButton>("IndexSearchButton"), Qt::LeftButton);
  }

  std::unique_ptr<MorvaWindow> window_;
  // The usable screen area the windows are placed on.
  QRect screenArea_{0, 0, 1024, 768};
  std::vector<std::string> dialogs_;
  std::function<int(QDialog&)> answerDialog_;
};

}  // namespace morva::testing
