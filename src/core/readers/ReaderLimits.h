#pragma once

namespace lendora {

// The longest texts of a reader's row, in GBK bytes: what the reader window's boxes take, and
// what an import accepts. Number, name (four Chinese characters), sex (one), telephone; the
// department has no limit.
struct ReaderLimits {
    static constexpr int kNumberBytes = 3;
    static constexpr int kNameBytes = 8;
    static constexpr int kSexBytes = 2;
    static constexpr int kPhoneBytes = 12;
};

}  // namespace lendora
