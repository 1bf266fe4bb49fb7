// MatchFrame: placeholder until the match frame lands.
#include "app/Form.h"

void TForm1::MatchFrame() {}
void TForm1::StartQuickMatch() {}
