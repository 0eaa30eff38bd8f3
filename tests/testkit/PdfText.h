#pragma once

#include <QString>
#include <QStringList>

namespace lendora::testkit {

// The text layer of a PDF as a reader's viewer extracts it (pdftotext -layout, UTF-8), one
// entry per page; empty when the file is not a PDF or pdftotext is missing (the test then
// fails on what it looks for, never passes by finding nothing).
QStringList pdfPages(const QString &path);

// The pages' text with every run of blanks made one space, to look for phrases that a
// table's columns may have spread out.
QString pdfText(const QString &path);

}  // namespace lendora::testkit
