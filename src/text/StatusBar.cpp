// StatusBar: placeholder until the status bar lands.
#include "app/Form.h"

void TForm1::DrawStatusDigits() {}
void TForm1::DrawStatusBar() {}
