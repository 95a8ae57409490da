// The seam between the program and the screen.
//
// Every command of the main window talks to the user only through this
// interface: message boxes, modal forms built from their layouts, file
// dialogs, the window title, the pointer shape, repaint requests, the table
// windows, the coordinates window and the help document.  The Qt adapter
// implements it for the real program, the console platform for the batch
// tool, and a scripted fake for the tests.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/formularz.h"

class Canvas;

// Program: the program's own icon, for the box that tells about the program;
// a platform without one shows the information icon.
enum class Ikona { Brak, Blad, Wykrzyknik, Pytanie, Informacja, Program };
enum class Przyciski { OK, TakNie, TakNieAnuluj };
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

// Puts the path of a file dialog description back as it was unless the
// command that asked for a file says that it read or wrote it: the next
// dialog opens where a file was last opened or saved, never in a folder
// where that failed (a folder such as /proc is no place to start in).
class WyborPliku {
 public:
  explicit WyborPliku(OpisPliku& opis) : opis_(opis), poprzednia_(opis.sciezka) {}
  ~WyborPliku() {
    if (!udany_) opis_.sciezka = poprzednia_;
  }
  WyborPliku(const WyborPliku&) = delete;
  WyborPliku& operator=(const WyborPliku&) = delete;
  void udany() { udany_ = true; }

 private:
  OpisPliku& opis_;
  std::string poprzednia_;
  bool udany_ = false;
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

// The progress of a long operation as the program wants it shown.  The
// program fills it in and decides when the window appears; the platform
// only displays it and reports its button.
struct Postep {
  bool widoczny = false;             // show the window (the operation has run a while)
  std::string tytul;                 // its title
  std::vector<std::string> wiersze;  // lines of text
  std::string linia;                 // the same in one short line, for a terminal
  int wartosc = 0;                   // the bar: wartosc of zakres done
  int zakres = 0;
  std::string przycisk;              // the button that asks to stop
};

class Platform {
 public:
  virtual ~Platform() = default;

  // A message box; returns IDOK, IDYES or IDNO, and for TakNieAnuluj also
  // IDCANCEL ("Anuluj", Escape or the window's close box).
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

  // Asks for one call of the main window's EvTimer after `ms` milliseconds,
  // from the event loop between commands.  A platform without an event loop
  // never calls back.
  virtual void UstawZegar(int /*ms*/) {}

  // A modal list to choose one entry from (title, a line of text above the
  // list, the entries); the index of the chosen entry, or -1 when the user
  // cancelled.  A platform without one chooses nothing.
  virtual int WybierzZListy(const std::string& /*tytul*/, const std::string& /*napis*/,
                            const std::vector<std::string>& /*pozycje*/) {
    return -1;
  }

  // Settings kept between sessions (recent files, chosen options): the value
  // stored under a key, "" when there is none.  A platform without a place
  // for them keeps nothing, and the program then works with its defaults.
  virtual std::string Ustawienie(const std::string& /*klucz*/) const { return {}; }
  virtual void ZapiszUstawienie(const std::string& /*klucz*/, const std::string& /*wartosc*/) {}

  // Pictures of the main window.  The size of its drawing area in pixels;
  // false when there is no window (the batch tool tells a size of its own).
  virtual bool RozmiarWidoku(int& /*szer*/, int& /*wys*/) const { return false; }
  // Paints a picture of szer x wys drawing units through `rysuj` at `skala`
  // image pixels per unit (sharp text, thin lines one image pixel wide) and
  // writes it as a PNG file, whole or not at all.  False when the platform
  // cannot make images or the file cannot be written.
  virtual bool ZapiszObrazPNG(const std::string& /*sciezka*/, int /*szer*/, int /*wys*/, int /*skala*/,
                              const std::function<void(Canvas&)>& /*rysuj*/) {
    return false;
  }
  // The same picture, at the screen's pixel density, onto the clipboard as
  // an image.  False when there is no clipboard.
  virtual bool KopiujObraz(int /*szer*/, int /*wys*/, const std::function<void(Canvas&)>& /*rysuj*/) {
    return false;
  }

  // A long operation runs on a thread of its own while this thread shows
  // its progress.  PokazPostep shows or updates the progress window (only
  // while p.widoczny; before that it shows nothing) and returns true once
  // the user has asked to stop; the program calls it with every change and
  // at least every few tenths of a second.  ZakonczPostep closes the window.
  virtual bool PokazPostep(const Postep& /*p*/) { return false; }
  virtual void ZakonczPostep() {}
  // Lets the window system work (repaints, the progress window's button)
  // for at most `ms` milliseconds, or until Obudz is called.  False when
  // the platform has no event loop and returned at once.
  virtual bool Czekaj(int /*ms*/) { return false; }
  // Ends a Czekaj early.  The one operation that may be called from
  // another thread: the long operation calls it when it has news.
  virtual void Obudz() {}
};
