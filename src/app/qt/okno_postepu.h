// The progress window of a long operation: lines of text, a bar and the
// button that asks to stop.  It is modal for the whole program, so the
// other windows can still repaint but take no input while it is shown.
#pragma once

#include <QDialog>
#include <vector>

#include "app/platform.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QVBoxLayout;

class OknoPostepu : public QDialog {
  Q_OBJECT
 public:
  explicit OknoPostepu(QWidget* rodzic);
  void ustaw(const Postep& p);
  // Whether the user has asked to stop (the button, Esc or the close box).
  bool przerwano() const { return przerwano_; }
  QPushButton* przycisk() const { return przycisk_; }
  QProgressBar* pasek() const { return pasek_; }
  QStringList wiersze() const;

 public slots:
  void reject() override;

 signals:
  // The user has asked to stop.
  void przerwij_zadane();

 protected:
  void closeEvent(QCloseEvent* e) override;

 private:
  void przerwij();

  QVBoxLayout* uklad_;
  std::vector<QLabel*> wiersze_;
  QProgressBar* pasek_;
  QPushButton* przycisk_;
  bool przerwano_ = false;
};
