// Selectors: placeholder until the pilot, statistics and selector screens land.
#include "app/Form.h"

void TForm1::MatchEndScreen() {}
void TForm1::RefreshMenuBackground() {}
void TForm1::DrawPilotStats(int) {}
void TForm1::DrawOptionsPanel() {}
void TForm1::DrawPilotPicture(int) {}
void TForm1::DrawFlagPicture(int) {}
void TForm1::LoadShipPicture(int) {}
void TForm1::SavePilots() {}
void TForm1::BuildListPage() {}
void TForm1::ChooseListRow(int) {}
void TForm1::DrawColourPicker(int) {}
void TForm1::ColourPick(int) {}
void TForm1::PrepareWeaponLists(int) {}
void TForm1::DrawWeaponPanel(int) {}
void TForm1::WeaponPick(int) {}
void TForm1::NameEntryFrame(int) {}
