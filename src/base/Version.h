#pragma once

#include <QString>

namespace lendora {

// The version text of the main window's title: major, "." and minor as "00", " Build:" and
// the revision as "0000"; numbers wider than their pictures are written in full.
QString GetVersionText();
QString GetVersionText(int major, int minor, int revision);

}  // namespace lendora
