#pragma once

#include <QPixmap>
#include <QSize>

namespace orvex {

// The maker's logo, drawn from its vector image at `size`.
QPixmap LogoPixmap(QSize size);

}  // namespace orvex
