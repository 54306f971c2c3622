#pragma once

#include <QPageSize>
#include <QString>
#include <optional>

// The paper the box score is printed on.
enum class BoxScorePaper { Letter, A4 };

// The paper of a name ("letter", "a4", any case), or none.
std::optional<BoxScorePaper> BoxScorePaperFromName(const QString &name);

// The page size of `paper`.
QPageSize BoxScorePageSize(BoxScorePaper paper);
