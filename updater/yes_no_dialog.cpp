#include "updater/yes_no_dialog.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Return_Button.H>
#include <FL/Fl_Window.H>

namespace updater {

// FLTK's own fl_choice always shows the question icon, so the box is built here.
bool AskYesNo(const char* title, const char* text) {
  Fl_Window dialog(410, 115, title);
  Fl_Box icon(10, 10, 50, 50, "i");
  icon.box(FL_THIN_UP_BOX);
  icon.color(FL_WHITE);
  icon.labelfont(FL_TIMES_BOLD);
  icon.labelsize(34);
  icon.labelcolor(FL_BLUE);
  Fl_Box message(70, 10, 330, 60, text);
  message.align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE | FL_ALIGN_WRAP);
  Fl_Return_Button yes(210, 80, 90, 25, "&Yes");
  Fl_Button no(310, 80, 90, 25, "&No");
  dialog.end();

  bool answer = false;
  yes.callback(
      [](Fl_Widget* button, void* result) {
        *static_cast<bool*>(result) = true;
        button->window()->hide();
      },
      &answer);
  no.callback([](Fl_Widget* button, void*) { button->window()->hide(); });

  dialog.set_modal();
  dialog.show();
  while (dialog.shown()) Fl::wait();
  return answer;
}

}  // namespace updater
