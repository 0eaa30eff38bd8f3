#pragma once

namespace lendora {

// The kinds of paper the desk prints on, each with a printer of its own.
enum class PrinterKind { Receipt, Label, Card, Page };

}  // namespace lendora
