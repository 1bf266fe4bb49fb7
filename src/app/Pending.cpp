// Pending: screen pieces the shell already calls whose screens are still being built. Each
// definition moves to its screen's own file when that screen lands.
#include "app/Form.h"

void TForm1::MatchFrame() {}
void TForm1::MatchEndScreen() {}
void TForm1::FrontEnd() {}
void TForm1::RefreshMenuBackground() {}
void TForm1::ShowBackButton() {}
void TForm1::DrawPilotStats(int) {}
void TForm1::DrawOptionsPanel() {}
void TForm1::DrawAboutText() {}
void TForm1::DrawPilotPicture(int) {}
void TForm1::DrawFlagPicture(int) {}
void TForm1::SavePilots() {}
void TForm1::PrepareStartupAssets() {}
