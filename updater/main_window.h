// frmMain, the updater's window: pick a corvane.ini (the window shows which),
// update it, optionally keeping the old one, then offer to open it in a text
// editor.
#pragma once

#include <memory>
#include <string>

class Fl_Button;
class Fl_Check_Button;
class Fl_Double_Window;
class Fl_Output;

namespace updater {

class MainWindow {
 public:
  MainWindow();
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  Fl_Double_Window& frmMain() { return *frmMain_; }

 private:
  void BuildMainFrame();
  void BuildAddressFrame();
  void Load();
  void Update();

  std::unique_ptr<Fl_Double_Window> frmMain_;
  Fl_Check_Button* chkRenOld_ = nullptr;  // owned by frmMain_
  Fl_Button* cmdUpdate_ = nullptr;        // owned by frmMain_
  Fl_Output* txtLoaded_ = nullptr;        // owned by frmMain_
  std::string chosenPath_;                // empty until a valid file is chosen
};

// Shows the window and runs until it is closed. With `selfTest`, closes it
// again after a moment and returns 0 only if it was on screen.
int RunWindow(bool selfTest);

}  // namespace updater
