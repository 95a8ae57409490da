// Group selection with the mouse and the commands of the "&Grupa" menu:
// the forms they show and the mapping between the pixels of the model view
// and model coordinates.
#pragma once

#include <string>

#include "app/formularz.h"
#include "app/rekordy.h"

class _OKNO_;

// "Przemieszczenie grupy" (3130): the offset of a group move.
::Formularz uklad_D_DANE_PRZ_GRUPY(d_dane_prz& r);
// "Kopiuj grupę z przemieszczeniem" (3120): offset and what to copy.
::Formularz uklad_D_DANE_KOP(d_dane_kop& r);
// "Kasowanie grupy" (3140): what a group delete takes with it (read only).
::Formularz uklad_D_DANE_DOOM(d_dane_doom& r);

// The model point under pixel (px, py) of the model view, by the inverse of
// the transform the last paint left in the window.
void piksel_na_model(const _OKNO_& o, int px, int py, float& X, float& Y);
// The pixel at which the model view draws node k (as the painter truncates
// it); false when the node lies too far outside any picture to have one.
bool wezel_na_piksel(const _OKNO_& o, int k, int& px, int& py);

// The text of the coordinates window for the pointer at pixel (px, py).
std::string odczyt_wspolrzednych(const _OKNO_& o, int px, int py);
