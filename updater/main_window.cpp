#include "updater/main_window.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Group.H>
#include <FL/Fl_Native_File_Chooser.H>
#include <FL/Fl_Output.H>
#include <FL/fl_ask.H>

#include <iostream>

#include "common/contact.h"
#include "updater/settings_update.h"
#include "updater/window_actions.h"
#include "updater/window_texts.h"
#include "updater/yes_no_dialog.h"

namespace updater {

namespace {

// Calls a member function of the window from an FLTK callback.
template <void (MainWindow::*Action)()>
void Forward(Fl_Widget*, void* window) {
  (static_cast<MainWindow*>(window)->*Action)();
}

void ShowProblem(const std::string& text) {
  fl_message_title(BRELLUN_CAPTION);
  fl_alert("%s", text.c_str());
}

}  // namespace

MainWindow::MainWindow() : frmMain_(std::make_unique<Fl_Double_Window>(470, 310, BRELLUN_CAPTION)) {
  BuildMainFrame();
  BuildAddressFrame();
  frmMain_->end();
}

MainWindow::~MainWindow() = default;

void MainWindow::BuildMainFrame() {
  auto* fraMain = new Fl_Group(10, 10, 450, 200);
  fraMain->box(FL_ENGRAVED_BOX);

  chkRenOld_ = new Fl_Check_Button(20, 20, 430, 25, BRELLUN_CHK_REN_OLD);
  chkRenOld_->value(0);

  auto* lblAbout = new Fl_Box(20, 50, 430, 70, BRELLUN_LBL_ABOUT);
  lblAbout->align(FL_ALIGN_LEFT | FL_ALIGN_TOP | FL_ALIGN_INSIDE | FL_ALIGN_WRAP);

  txtLoaded_ = new Fl_Output(85, 125, 365, 25, BRELLUN_LOADED);
  txtLoaded_->value(LoadedFileText("").c_str());

  auto* cmdLoad = new Fl_Button(20, 165, 130, 30, BRELLUN_CMD_LOAD);
  cmdLoad->callback(Forward<&MainWindow::Load>, this);
  cmdUpdate_ = new Fl_Button(170, 165, 130, 30, BRELLUN_CMD_UPDATE);
  cmdUpdate_->callback(Forward<&MainWindow::Update>, this);
  cmdUpdate_->deactivate();
  auto* cmdQuit = new Fl_Button(320, 165, 130, 30, BRELLUN_CMD_QUIT);
  cmdQuit->callback([](Fl_Widget* button, void*) { button->window()->hide(); });
  fraMain->end();
}

void MainWindow::BuildAddressFrame() {
  auto* fraEmail = new Fl_Group(10, 220, 450, 80);
  fraEmail->box(FL_ENGRAVED_BOX);

  auto* Label1 = new Fl_Box(20, 230, 105, 25, BRELLUN_LABEL1);
  Label1->align(FL_ALIGN_RIGHT | FL_ALIGN_INSIDE);
  // Looks like a text field; a click opens the page in the browser.
  auto* txtWWw = new Fl_Button(130, 230, 320, 25, contact::kWebAddress);
  txtWWw->box(FL_DOWN_BOX);
  txtWWw->color(FL_WHITE);
  txtWWw->labelcolor(FL_BLUE);
  txtWWw->align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE);
  txtWWw->callback([](Fl_Widget*, void*) { OpenMakerPage(ShowProblem); });

  auto* Label2 = new Fl_Box(20, 265, 105, 25, BRELLUN_LABEL2);
  Label2->align(FL_ALIGN_RIGHT | FL_ALIGN_INSIDE);
  auto* txtemail = new Fl_Output(130, 265, 320, 25);
  txtemail->value(contact::kEmailAddress);
  fraEmail->end();
}

void MainWindow::Load() {
  Fl_Native_File_Chooser cmndlg(Fl_Native_File_Chooser::BROWSE_FILE);
  cmndlg.title(BRELLUN_LOAD_TITLE);
  cmndlg.filter(BRELLUN_FILTER "\t" BRELLUN_FILTER);
  const std::string startFolder = LoadStartFolder();
  cmndlg.directory(startFolder.c_str());
  cmndlg.preset_file(nullptr);
  if (cmndlg.show() != 0 || cmndlg.filename() == nullptr) return;
  const std::string chosen = cmndlg.filename();
  if (!IsSettingsFileName(chosen)) return;
  chosenPath_ = chosen;
  txtLoaded_->value(LoadedFileText(chosenPath_).c_str());
  cmdUpdate_->activate();
}

void MainWindow::Update() {
  UpdateChosenFile(chosenPath_, chkRenOld_->value() != 0,
                   {[this] { cmdUpdate_->deactivate(); }, AskYesNo, ShowProblem});
}

int RunWindow(bool selfTest) {
  MainWindow window;
  Fl_Double_Window& frmMain = window.frmMain();
  frmMain.show();
  if (!selfTest) return Fl::run();

  struct SelfTest {
    Fl_Double_Window* window;
    bool wasOnScreen = false;
  } check{&frmMain};
  Fl::add_timeout(
      0.5,
      [](void* data) {
        auto* test = static_cast<SelfTest*>(data);
        test->wasOnScreen = test->window->shown() && test->window->visible();
        test->window->hide();
      },
      &check);
  Fl::run();
  if (!check.wasOnScreen) return 1;
  std::cout << "frmMain shown: " << frmMain.label() << "\n";
  return 0;
}

}  // namespace updater
