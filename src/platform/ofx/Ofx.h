#pragma once
// Reads a bank statement in OFX, SGML (OFX 1.x) or XML (OFX 2.x), with
// libofx, after restating the bank's text so that libofx reads what the bank
// meant (see OfxText for the shapes real files take). The result is the
// account and its transactions in the order of the file (see OfxStatement);
// a file with statements of several accounts is refused, several
// statements of one account are read as one.
//
// Nothing half read reaches the caller: every transaction the file holds is
// delivered with a date and an amount, or the reading raises OfxError (not
// an OFX file, cut short, a transaction without date or amount, no
// statement in it — with the bank's own message when its reply says why).

#include "ofx/OfxError.h"
#include "ofx/OfxStatement.h"

#include <QString>

namespace Ofx {

constexpr qint64 MaxFileBytes = 256LL * 1024 * 1024;

OfxStatement read(const QString &path);

} // namespace Ofx
