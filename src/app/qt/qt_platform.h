// The Platform of the real program, on Qt Widgets.
#pragma once

#include <QPointer>
#include <QString>
#include <map>

#include "app/platform.h"
#include "app/qt/okno_tabeli.h"

class RamaOkna;

// The file that opens for the document `nazwa` ("skorban.chm" is the help):
// looked for in the current folder, then next to the program, then in the
// documentation folder of the installation; "" when there is none.
QString znajdz_dokument(const QString& nazwa, const QString& katalog_programu);

class QtPlatform : public Platform {
 public:
  explicit QtPlatform(RamaOkna* rama = nullptr) : rama_(rama) {}
  ~QtPlatform() override;
  void ustawRame(RamaOkna* rama) { rama_ = rama; }

  int MessageBox(const std::string& tekst, const std::string& tytul, Ikona ikona,
                 Przyciski przyciski) override;
  int Formularz(::Formularz& f) override;
  bool OtworzPlik(OpisPliku& opis) override;
  bool ZapiszPlik(OpisPliku& opis) override;
  void UstawTytul(const std::string& tytul) override;
  void UstawKursor(Kursor k) override;
  void Odswiez() override;
  void Zamknij() override;
  void OtworzDokument(const std::string& sciezka) override;
  int PokazOkno(std::unique_ptr<OknoTabeli> okno) override;
  void ZniszczOkno(int uchwyt) override;
  bool OknoOtwarte(int uchwyt) const override;
  void UstawWspolrzedne(const std::string& tekst) override;
  Canvas* CanvasOkna() override;
  void PokazRysunek() override;
  std::string Ustawienie(const std::string& klucz) const override;
  void ZapiszUstawienie(const std::string& klucz, const std::string& wartosc) override;

  OknoTabeliQt* okno(int uchwyt) const;

 private:
  RamaOkna* rama_;
  std::map<int, QPointer<OknoTabeliQt>> okna_;
  int nastepny_ = 1;
  bool czeka_ = false;
};

// The Qt file-dialog filter for a "description|pattern|" filter, with the
// patterns also in lower case (file names on this system are case sensitive).
QString filtr_qt(const std::string& filtr);
