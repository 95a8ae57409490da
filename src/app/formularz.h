// Forms as data.
//
// A form is a layout (caption, controls with their ids, labels, group frames
// and flags) bound to a plain field record of text buffers and check-box
// ints.  The platform turns the layout into a real modal dialog, fills the
// edit fields from the record, and on "OK" writes them back: at most `limit`
// characters of each edit (a longer preset is shown whole but read back as
// its first `limit` characters).  Tests answer forms from a script instead.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <map>
#include <string>
#include <vector>

// One text buffer of a field record.  The edit limit of the control decides
// how much a user can type; the buffer itself is roomy enough for any preset
// the program writes into it, so nothing is cut when a form is filled.
struct Pole {
  char t[64] = "";
  const char* c_str() const { return t; }
};

// Writes a printf-formatted preset into a field (always terminated).
void ustaw(Pole& p, const char* fmt, ...) __attribute__((format(printf, 2, 3)));

enum class Rodzaj {
  Napis,   // static text
  Ramka,   // group frame (its title in `tekst`)
  Edycja,  // edit field with its label in `tekst`
  Wybor,   // check box with its label in `tekst`
  Lista,   // drop-down list with its label in `tekst`, its entries in `pozycje`
};

struct Kontrolka {
  Rodzaj rodzaj = Rodzaj::Napis;
  int id = -1;             // control id of the dialog resource
  std::string tekst;       // label, static text, frame title or check box text
  std::string nazwa;       // name of the record field it transfers ("" for none)
  int ramka = -1;          // index (in Formularz::kontrolki) of its group frame, -1 for none
  bool tylko_cyfry = false;
  bool tylko_odczyt = false;
  bool do_prawej = false;
  int limit = 7;           // characters a user can type
  Pole* pole = nullptr;    // Edycja (and Napis whose text comes from the record)
  int* stan = nullptr;     // Wybor: 0 / 1; Lista: the index of the chosen entry
  std::vector<std::string> pozycje;  // Lista: the entries
};

struct Formularz {
  int zasob = 0;           // dialog resource number (3020, 3200, ...)
  std::string tytul;       // caption
  int szer = 0, wys = 0;   // size in dialog units (0 = let the platform decide)
  std::vector<Kontrolka> kontrolki;
  bool ma_anuluj = true;   // has the "Anuluj" button (id 2)

  // Builders; each returns the index of the new control.
  int napis(int id, const std::string& tekst, Pole* pole = nullptr, bool do_prawej = false,
            int ramka = -1);
  int ramka(const std::string& tytul);
  int edycja(int id, const std::string& etykieta, const std::string& nazwa, Pole* pole, int ramka = -1,
             bool tylko_cyfry = false, bool tylko_odczyt = false, bool do_prawej = false, int limit = 7);
  int wybor(int id, const std::string& tekst, const std::string& nazwa, int* stan, int ramka = -1);
  int lista(int id, const std::string& etykieta, const std::string& nazwa, std::vector<std::string> pozycje,
            int* stan, int ramka = -1);

  // The control with the given record field name, or nullptr.
  Kontrolka* znajdz(const std::string& nazwa);
  const Kontrolka* znajdz(const std::string& nazwa) const;
};

// Button results of forms and message boxes.
enum : int { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

// The text an edit field gives back on "OK": its first `limit` characters.
std::string odczyt_pola(const std::string& wpisany, int limit);

// Applies answers to a form as its "OK" button does: the answered texts
// replace the editable fields, every edit is read back to its edit limit,
// the answered check boxes take their states and the answered lists their
// entries (an index beyond the list changes nothing).
void zastosuj_odpowiedz(Formularz& f, const std::map<std::string, std::string>& teksty,
                        const std::map<std::string, int>& stany = {});
