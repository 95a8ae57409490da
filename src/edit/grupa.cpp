#include "app/okno.h"

void _OKNO_::EvLButtonDown(int, int) {}
void _OKNO_::EvMouseMove(int, int) {}
void _OKNO_::EvLButtonUp(int, int) {}
void _OKNO_::zw_grp() {}
void _OKNO_::Cm_Grupa_prz() {}
void _OKNO_::Cm_Grupa_kop_prz() {}
void _OKNO_::Cm_Grupa_doom() {}
void _OKNO_::Cm_G_PODP() {}
void _OKNO_::Cm_G_SILA() {}
