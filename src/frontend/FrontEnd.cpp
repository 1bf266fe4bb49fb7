// FrontEnd: placeholder until the front-end flow lands.
#include "app/Form.h"

void TForm1::FrontEnd() {}
void TForm1::ShowBackButton() {}
void TForm1::PrepareStartupAssets() {}
void TForm1::DrawAboutText() {}
bool TForm1::StartMatch() { return false; }
