#include "logo.h"

#include <QPainter>
#include <QSvgRenderer>

namespace orvex {

QPixmap LogoPixmap(QSize size) {
  QPixmap pixmap(size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  QSvgRenderer(QStringLiteral(":/orvex/logo.svg")).render(&painter);
  return pixmap;
}

}  // namespace orvex
