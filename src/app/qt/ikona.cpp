#include "app/qt/ikona.h"

#include <QDir>

QIcon ikona_programu() {
  QIcon ikona;
  const QDir zasoby(QStringLiteral(":/ikona"));
  for (const QString& plik : zasoby.entryList({QStringLiteral("*.png")}, QDir::Files))
    ikona.addFile(zasoby.filePath(plik));
  return ikona;
}
