#pragma once

class QObject;

namespace lendora::testkit {

// A case about what a clerk may not read or write means nothing to root, who may do either, and
// the suites run as root in CI. There the case runs again in a child: the same test executable
// started through `setpriv --reuid=nobody --regid=nogroup --clear-groups`, running only this
// case, and the child's verdict becomes the case's (its failure with its output, its skip with
// its reason). A case begins with
//     if (!runsUnprivileged(this))
//         return;
// which is true where the case is to run here: not as root (the child, or any other user).
// Where nobody cannot run the executable the case is skipped, saying why.
bool runsUnprivileged(const QObject *test);

}  // namespace lendora::testkit
