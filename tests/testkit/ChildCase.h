#pragma once

#include <QProcessEnvironment>
#include <QStringList>

class QObject;

namespace lendora::testkit {

// Runs the current case again in a child process of the same test executable, which runs only
// that case (the class named by LENDORA_TEST_ONLY_CLASS, see TestMain.h), and takes its
// verdict as the case's: a failure with the child's output, a skip with its reason. The child
// is `launcher` with `launcherArguments` before the executable (setpriv, say), or the
// executable itself when `launcher` is empty. Returns nothing the caller needs: the case
// simply returns after it.
void runCaseInChild(const QObject *test, const QString &launcher,
                    const QStringList &launcherArguments, QProcessEnvironment environment);

}  // namespace lendora::testkit
