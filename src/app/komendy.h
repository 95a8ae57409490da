// The command table of the main menu: one row per menu entry with its id,
// popup, text, operation, enabling condition and check condition, and
// optionally its keyboard shortcuts, a text computed from the window's state
// and a condition for being shown at all.  The Qt frame builds its menu from
// this table and evaluates the conditions and texts every time a popup is
// shown; the tests run commands through it by id.
#pragma once

#include <string>
#include <vector>

class _OKNO_;

struct Komenda {
  int id;
  const char* menu;   // popup title, e.g. "&Plik"
  const char* tekst;  // entry text, e.g. "&Nowy"
  void (_OKNO_::*operacja)();
  bool (*wlaczona)(const _OKNO_&);    // nullptr = always enabled
  bool (*zaznaczona)(const _OKNO_&);  // nullptr = never checked
  bool separator_po;                  // a separator follows the entry
  const char* skroty = nullptr;       // keyboard shortcuts, ';'-separated ("Ctrl+Y;Ctrl+Shift+Z")
  std::string (*opis)(const _OKNO_&) = nullptr;  // the entry's text as the state makes it (nullptr = tekst)
  bool (*widoczna)(const _OKNO_&) = nullptr;     // nullptr = always shown
};

// Popup titles in menu order.
const std::vector<const char*>& menu_popupy();
// Every command in menu order.
const std::vector<Komenda>& tablica_komend();
// The row of a command id, or nullptr.
const Komenda* znajdz_komende(int id);
// Runs the command with the given id if it is enabled; returns whether it ran.
bool wykonaj_komende(_OKNO_& okno, int id);
bool komenda_wlaczona(const _OKNO_& okno, int id);
bool komenda_zaznaczona(const _OKNO_& okno, int id);
// The entry's text now ("&Cofnij: Usuń węzeł"), and whether it is shown.
std::string tekst_komendy(const _OKNO_& okno, int id);
bool komenda_widoczna(const _OKNO_& okno, int id);
