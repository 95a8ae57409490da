// The seam between the program and the screen.
//
// Every command of the main window talks to the user only through this
// interface: message boxes, modal forms built from their layouts, file
// dialogs, the window title, the pointer shape, repaint requests, the table
// windows, the coordinates window and the help document.  The Qt adapter
// implements it for the real program, the console platform for the batch
// tool, and a scripted fake for the tests.
#pragma once

#include <memory>
#include <string>

#include "app/formularz.h"

class Canvas;

// Program: the program's own icon, for the box that tells about the program;
// a platform without one shows the information icon.
enum class Ikona { Brak, Blad, Wykrzyknik, Pytanie, Informacja, Program };
enum class Przyciski { OK, TakNie };
enum class Kursor { Normalny, Czekaj, Krzyz };

// Description of a file dialog: filter in the "description|pattern|" form,
// default extension, initial folder, whether the file must exist (opening),
// and the path chosen last (the next dialog opens with it).
struct OpisPliku {
  std::string filtr;
  std::string rozszerzenie;
  std::string katalog;
  bool musi_istniec = true;
  std::string sciezka;
};

// The content of a table window: a scrollable window that the program paints
// through a Canvas.  The platform owns the window; the program refers to it
// by the handle that PokazOkno returned.
class OknoTabeli {
 public:
  virtual ~OknoTabeli() = default;
  virtual std::string Tytul() const = 0;
  virtual bool MaRodzica() const = 0;          // child of the main window, or top-level
  virtual int X() const = 0;                    // position and size in pixels
  virtual int Y() const = 0;
  virtual int Szer() const = 0;
  virtual int Wys() const = 0;
  virtual int Jednostka() const { return 10; }  // scroll unit in pixels
  virtual int ZakresX() const = 0;              // scroll range in units
  virtual int ZakresY() const = 0;
  virtual void Paint(Canvas& dc) = 0;           // the whole table, in scrolled coordinates
  virtual bool CanClose() = 0;                  // asked when the user closes the window
};

class Platform {
 public:
  virtual ~Platform() = default;

  // A message box; returns IDOK, IDYES or IDNO.
  virtual int MessageBox(const std::string& tekst, const std::string& tytul, Ikona ikona,
                         Przyciski przyciski) = 0;
  // A modal form; fills the edits from the bound record, and on OK writes
  // them back (first `limit` characters each).  Returns IDOK or IDCANCEL.
  virtual int Formularz(::Formularz& f) = 0;
  // File dialogs; on OK the chosen path is stored in opis.sciezka.
  virtual bool OtworzPlik(OpisPliku& opis) = 0;
  virtual bool ZapiszPlik(OpisPliku& opis) = 0;

  virtual void UstawTytul(const std::string& tytul) = 0;
  virtual void UstawKursor(Kursor k) = 0;
  // Requests a repaint of the whole main window.
  virtual void Odswiez() = 0;
  // Asks the main window to close (the platform then asks CanClose).
  virtual void Zamknij() = 0;
  // Opens a document with the desktop's "open" action; failures are silent.
  virtual void OtworzDokument(const std::string& sciezka) = 0;

  // Table windows: shows a new window and returns its handle (> 0).
  virtual int PokazOkno(std::unique_ptr<OknoTabeli> okno) = 0;
  // Destroys the window with the handle; unknown or already closed handles
  // are ignored, so a handle can never dangle.
  virtual void ZniszczOkno(int uchwyt) = 0;
  // Whether the window with the handle is still open.
  virtual bool OknoOtwarte(int uchwyt) const = 0;

  // Text of the coordinates window "Współrzędne".
  virtual void UstawWspolrzedne(const std::string& tekst) = 0;
  // A canvas that draws directly onto the main window's picture (outside a
  // paint, e.g. for the rubber band); nullptr when there is none.
  virtual Canvas* CanvasOkna() { return nullptr; }
  // Shows what was drawn through CanvasOkna().
  virtual void PokazRysunek() {}

  // Settings kept between sessions (recent files, chosen options): the value
  // stored under a key, "" when there is none.  A platform without a place
  // for them keeps nothing, and the program then works with its defaults.
  virtual std::string Ustawienie(const std::string& /*klucz*/) const { return {}; }
  virtual void ZapiszUstawienie(const std::string& /*klucz*/, const std::string& /*wartosc*/) {}
};
