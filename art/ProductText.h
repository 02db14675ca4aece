#pragma once

#include <QString>

// The product's own texts. The maker and its web address appear in the pictures too (the logo ring on
// the trainer background, the splash notice), so they are written once here and kept in step with the
// art generator.
namespace art {

inline const QString kProductName = QStringLiteral("qxOrvanta Trainer");
inline const QString kProductVersion = QStringLiteral("1.0");
inline const QString kMakerName = QStringLiteral("Orvanta");
inline const QString kMakerWebAddress = QStringLiteral("www.orvanta.example");

// The maker's notice: the year and the maker.
inline const QString kCopyright = QStringLiteral("\u00a9 2008 Orvanta");

// The notice line along the bottom of the agreement window: notice, maker and web address.
inline const QString kMakerNotice =
    QStringLiteral("Copyright \u00a9 2008 \u2022 Orvanta \u2022 www.orvanta.example");

// The trainer's idle status line: product and version, the maker's notice, the web address.
inline const QString kProductLine = kProductName + QStringLiteral(" ") + kProductVersion +
                                    QStringLiteral(" \u2022 ") + kCopyright + QStringLiteral(" \u2022 ") +
                                    kMakerWebAddress;

// The help document's file name, opened from the current directory.
inline const QString kHelpDocument = QStringLiteral("qxOrvanta Trainer.htm");

} // namespace art
