// The recovery file: while the model has unsaved changes, the program keeps
// a copy of it as a project file in a folder of its own, so that a crash of
// the process or of the desktop session loses at most the last half minute.
//
// Every running program has its own file, "odzysk-<process>-<start>.SKD",
// and holds a lock (flock) on the lock file of the same name ending in
// ".lock" for as long as it runs.  The system releases the lock when a
// process ends in any way, so a recovery file whose lock can be taken was
// left by a program that no longer runs; two programs running at once never
// take each other's file.  Nothing here reports an error: a folder that
// cannot be used costs the recovery and nothing else.
#pragma once

#include <ctime>
#include <string>
#include <vector>

class PlikOdzysku {
 public:
  PlikOdzysku() = default;
  ~PlikOdzysku();  // removes this program's files
  PlikOdzysku(const PlikOdzysku&) = delete;
  PlikOdzysku& operator=(const PlikOdzysku&) = delete;

  // The folder of the recovery files: $XDG_STATE_HOME/skorba-n, or
  // ~/.local/state/skorba-n ("" when neither can be named).
  static std::string katalog_domyslny();

  // Takes this program's name and lock in the folder, creating it.  False
  // when the folder cannot be used; the program then runs without recovery.
  bool Otworz(const std::string& katalog);
  bool Otwarty() const { return blokada_ >= 0; }
  // This program's recovery file.
  const std::string& Sciezka() const { return plik_; }

  // Writes the file completely or not at all; false on failure.
  bool Zapisz(const void* dane, std::size_t rozmiar);
  // Removes this program's file (after a save, or when the changes were
  // undone or discarded).
  void Usun();

  // A file left by a program that no longer runs, locked for this program
  // until it is taken over, deleted or let go.
  struct Porzucony {
    std::string plik, blokada;
    std::time_t czas = 0;  // when it was last written
    int fd = -1;
    Porzucony() = default;
    Porzucony(Porzucony&& o) noexcept;
    Porzucony& operator=(Porzucony&& o) noexcept;
    ~Porzucony();
  };
  // The files left by programs no longer running, newest first.
  std::vector<Porzucony> Porzucone();
  // Makes a left file this program's own (its model was restored).
  bool Przejmij(Porzucony& p);
  // Deletes a left file.
  static void Odrzuc(Porzucony& p);

 private:
  std::string katalog_, plik_, blokada_plik_;
  int blokada_ = -1;
};
