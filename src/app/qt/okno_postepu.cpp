#include "app/qt/okno_postepu.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

OknoPostepu::OknoPostepu(QWidget* rodzic) : QDialog(rodzic) {
  setObjectName("OknoPostepu");
  setWindowModality(Qt::ApplicationModal);
  // No help button in the title; the close box asks to stop like the button.
  setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
  uklad_ = new QVBoxLayout(this);
  pasek_ = new QProgressBar(this);
  pasek_->setTextVisible(false);
  pasek_->setMinimumWidth(320);
  uklad_->addWidget(pasek_);
  auto* dol = new QHBoxLayout;
  dol->addStretch(1);
  przycisk_ = new QPushButton(this);
  przycisk_->setAutoDefault(false);
  dol->addWidget(przycisk_);
  uklad_->addLayout(dol);
  connect(przycisk_, &QPushButton::clicked, this, [this] { przerwij(); });
}

void OknoPostepu::ustaw(const Postep& p) {
  setWindowTitle(QString::fromUtf8(p.tytul.c_str()));
  while (wiersze_.size() < p.wiersze.size()) {
    auto* l = new QLabel(this);
    uklad_->insertWidget(static_cast<int>(wiersze_.size()), l);
    wiersze_.push_back(l);
  }
  for (std::size_t i = 0; i < wiersze_.size(); ++i)
    wiersze_[i]->setText(i < p.wiersze.size() ? QString::fromUtf8(p.wiersze[i].c_str()) : QString());
  pasek_->setRange(0, std::max(1, p.zakres));
  pasek_->setValue(std::clamp(p.wartosc, 0, std::max(1, p.zakres)));
  przycisk_->setText(QString::fromUtf8(p.przycisk.c_str()));
}

QStringList OknoPostepu::wiersze() const {
  QStringList t;
  for (const QLabel* l : wiersze_) t << l->text();
  return t;
}

void OknoPostepu::przerwij() {
  if (przerwano_) return;
  przerwano_ = true;
  // The request is taken; the operation ends within a step.
  przycisk_->setEnabled(false);
  emit przerwij_zadane();
}

void OknoPostepu::reject() { przerwij(); }

void OknoPostepu::closeEvent(QCloseEvent* e) {
  e->ignore();
  przerwij();
}
