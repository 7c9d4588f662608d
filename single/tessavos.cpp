// The single generator: one compact main window and the message loop
// around it.
#include <exception>

#include "single/forms/main.h"
#include "toolkit/application.h"

int main() {
  using namespace tessavo;
  tk::App().SetTitle("Tessavo");
  try {
    single::TFrmMain form;
    tk::App().Run(form);
  } catch (const std::exception& error) {
    // Nothing is up yet to carry on with; say why and end.
    tk::App().ShowException(error);
    return 1;
  }
  return 0;
}
