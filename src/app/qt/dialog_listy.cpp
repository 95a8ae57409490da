#include "app/qt/dialog_listy.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QString q(const std::string& s) { return QString::fromUtf8(s.c_str()); }
}  // namespace

DialogListy::DialogListy(const std::string& tytul, const std::string& napis, const std::vector<std::string>& pozycje,
                         QWidget* rodzic)
    : QDialog(rodzic), lista_(new QListWidget) {
  setWindowTitle(q(tytul));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  setObjectName("lista");
  auto* uklad = new QVBoxLayout(this);
  if (!napis.empty()) uklad->addWidget(new QLabel(q(napis)));
  for (const auto& p : pozycje) lista_->addItem(q(p));
  if (lista_->count() > 0) lista_->setCurrentRow(0);
  uklad->addWidget(lista_);
  auto* przyciski = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  przyciski->button(QDialogButtonBox::Ok)->setText("OK");
  przyciski->button(QDialogButtonBox::Cancel)->setText("Anuluj");
  uklad->addWidget(przyciski);
  connect(przyciski, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(przyciski, &QDialogButtonBox::rejected, this, &QDialog::reject);
  // A double click chooses the entry at once.
  connect(lista_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
  resize(std::max(sizeHint().width(), 420), sizeHint().height());
}

int wybierz_z_listy(const std::string& tytul, const std::string& napis, const std::vector<std::string>& pozycje,
                    QWidget* rodzic) {
  DialogListy d(tytul, napis, pozycje, rodzic);
  if (d.exec() != QDialog::Accepted) return -1;
  return d.lista()->currentRow();
}
