#pragma once
// Draft printing on a text-mode printer: the bytes go unchanged to the device
// or file named in CP_IMPRESSORA_TEXTO (for instance /dev/usb/lp0) or, without
// it, to the default printer through "lp -o raw". Every preview that offers
// "Rascunho" prints through here.

#include <QIODevice>
#include <QString>

#include <functional>

namespace RawPrinter {

// Runs write on the printer's device and shows what went wrong, if anything,
// in the standard boxes ("Atenção"). True when the printer took the job.
bool print(const std::function<bool(QIODevice &)> &write);

} // namespace RawPrinter
