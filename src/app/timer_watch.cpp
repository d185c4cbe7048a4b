#include "app/timer_watch.h"

#include "app/form1.h"

namespace raz {

Timer& TimerOf(TForm1& form, TimerId id) {
  switch (id) {
    case TimerId::Timer1: return form.Timer1;
    case TimerId::Timer2: return form.Timer2;
    case TimerId::Timer3: return form.Timer3;
  }
  return form.Timer1;
}

void FireTimer(TForm1& form, TimerId id) {
  switch (id) {
    case TimerId::Timer1: form.Timer1Timer(); break;
    case TimerId::Timer2: form.Timer2Timer(); break;
    case TimerId::Timer3: form.Timer3Timer(); break;
  }
}

}  // namespace raz
