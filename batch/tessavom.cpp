// The batch generator: its main window, the progress window of its runs,
// and the message loop around them.
#include <exception>

#include "batch/forms/main.h"
#include "batch/forms/progress.h"
#include "toolkit/application.h"

int main() {
  using namespace tessavo;
  using namespace tessavo::batch;
  tk::App().SetTitle("Quillorn");
  try {
    TFrmMain form;
    // Made hidden right after the main window; it lives until the end.
    TDlgProgress progress(&form);
    form.DlgProgress = &progress;
    tk::App().Run(form);
  } catch (const std::exception& error) {
    // Nothing is up yet to carry on with; say why and end.
    tk::App().ShowException(error);
    return 1;
  }
  return 0;
}
