#include "JsonPatch.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <algorithm>
#include <functional>
#include <optional>
#include <vector>

namespace
{

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

qsizetype skipSpace(QByteArrayView text, qsizetype at)
{
    while (at < text.size() && isSpace(text[at]))
        ++at;
    return at;
}

// Which bytes end a run the scan can skip: in a string its quote and
// backslash, outside strings also the brackets and braces. The texts are
// long (a play-by-play of thousands of rows) and scanned whole on each
// change, so the runs between are skipped in a tight loop.
struct ByteClasses {
    bool inString[256] = {};
    bool outside[256] = {};
    constexpr ByteClasses()
    {
        for (const unsigned char c : {'"', '\\'})
            inString[c] = outside[c] = true;
        for (const unsigned char c : {'{', '}', '[', ']'})
            outside[c] = true;
    }
};
constexpr ByteClasses kClasses;

// Where the arrays and objects of one text end, by where they start, found
// in one pass. A patch walks a long member down level by level (the teams,
// a team, its players); without it every level would scan the text again.
// Empty for a text whose brackets do not pair up: that text is scanned.
class BracketIndex
{
public:
    explicit BracketIndex(QByteArrayView text)
    {
        const char *const begin = text.data();
        const char *const end = begin + text.size();
        const auto *bytes = reinterpret_cast<const unsigned char *>(begin);
        const qsizetype size = end - begin;
        std::vector<std::size_t> open;
        for (qsizetype at = 0; at < size; ++at) {
            // Runs of bytes that open or close nothing are skipped in a tight loop.
            while (at < size && !kClasses.outside[bytes[at]])
                ++at;
            if (at >= size)
                break;
            const unsigned char c = bytes[at];
            if (c == '"') {
                for (++at;; ++at) {
                    while (at < size && !kClasses.inString[bytes[at]])
                        ++at;
                    if (at >= size) {
                        spans_.clear();
                        return;
                    }
                    if (bytes[at] == '"')
                        break;
                    ++at; // the character a backslash escapes
                }
            } else if (c == '{' || c == '[') {
                open.push_back(spans_.size());
                spans_.emplace_back(begin + at, nullptr);
            } else if (c == '}' || c == ']') {
                if (open.empty()) {
                    spans_.clear();
                    return;
                }
                spans_[open.back()].second = begin + at + 1;
                open.pop_back();
            }
        }
        if (!open.empty())
            spans_.clear();
    }

    // One past the end of the array or object that starts at `start`, or
    // null when the text has none starting there.
    const char *End(const char *start) const
    {
        const auto found =
            std::lower_bound(spans_.begin(), spans_.end(), start,
                             [](const std::pair<const char *, const char *> &span, const char *at) {
                                 return std::less<>()(span.first, at);
                             });
        return found != spans_.end() && found->first == start ? found->second : nullptr;
    }

private:
    std::vector<std::pair<const char *, const char *>> spans_; // by where they start
};

// The indexes of the two texts a patch is found between (either may be none).
struct Indexes {
    const BracketIndex *before = nullptr;
    const BracketIndex *after = nullptr;

    const char *End(const char *start) const
    {
        const char *end = before ? before->End(start) : nullptr;
        return end || !after ? end : after->End(start);
    }
};

// Where the value starting at `at` ends (one past it); -1 when it does not.
qsizetype valueEnd(QByteArrayView text, qsizetype at, const Indexes &indexes = {})
{
    const qsizetype size = text.size();
    if (at >= size)
        return -1;
    const auto *bytes = reinterpret_cast<const unsigned char *>(text.data());
    const unsigned char first = bytes[at];
    if (first != '"' && first != '{' && first != '[') {
        while (at < size && !isSpace(text[at]) && text[at] != ',' && text[at] != ']' &&
               text[at] != '}')
            ++at;
        return at;
    }
    if (first != '"') {
        const char *const end = indexes.End(text.data() + at);
        if (end && end <= text.data() + size)
            return end - text.data();
    }
    int depth = 0;
    while (at < size) {
        const unsigned char c = bytes[at++];
        if (c == '"') {
            while (true) {
                while (at < size && !kClasses.inString[bytes[at]])
                    ++at;
                if (at >= size)
                    return -1;
                if (bytes[at++] == '"')
                    break;
                ++at; // the character a backslash escapes
            }
        } else if (c == '{' || c == '[') {
            ++depth;
        } else if (c == '}' || c == ']') {
            --depth;
        }
        if (depth == 0)
            return at;
        while (at < size && !kClasses.outside[bytes[at]])
            ++at;
    }
    return -1;
}

// The parts of an array (its items) or an object (name, value, name, value...)
// as views into `text`; none when `text` is not one of `open`...`close` whole.
std::optional<std::vector<QByteArrayView>> parts(QByteArrayView text, char open, char close,
                                                 const Indexes &indexes)
{
    if (text.size() < 2 || text.front() != open || text.back() != close)
        return std::nullopt;
    const bool object = open == '{';
    std::vector<QByteArrayView> found;
    qsizetype at = skipSpace(text, 1);
    if (at == text.size() - 1)
        return found;
    while (true) {
        if (object) {
            const qsizetype nameEnd = text[at] == '"' ? valueEnd(text, at) : -1;
            if (nameEnd < 0)
                return std::nullopt;
            found.push_back(text.sliced(at, nameEnd - at));
            at = skipSpace(text, nameEnd);
            if (at >= text.size() || text[at] != ':')
                return std::nullopt;
            at = skipSpace(text, at + 1);
        }
        const qsizetype end = valueEnd(text, at, indexes);
        if (end < 0 || end == at)
            return std::nullopt;
        found.push_back(text.sliced(at, end - at));
        at = skipSpace(text, end);
        if (at == text.size() - 1)
            return found;
        if (text[at] != ',')
            return std::nullopt;
        at = skipSpace(text, at + 1);
    }
}

// How far apart two arrays may be before the part between their common start
// and end is patched item by item in place: a play changes a few rows, a new
// sort all.
constexpr int kMostEdits = 64;

// Two arrays lined up: the items of the old one (`a`) and of the new one
// (`b`) between their common start and end, and which of them the shortest
// edit removes and adds; `walked` false when more than kMostEdits differ.
struct Alignment {
    std::size_t start = 0;
    int n = 0, m = 0;
    bool walked = true;
    std::vector<bool> removed, added;
    std::vector<std::size_t> hashA, hashB;
};

// The shortest edit between `a` and `b`: Myers' O((N+M)D) walk along the
// diagonals.
Alignment align(const std::vector<QByteArrayView> &a, const std::vector<QByteArrayView> &b)
{
    Alignment line;
    std::size_t &start = line.start;
    while (start < a.size() && start < b.size() && a[start] == b[start])
        ++start;
    std::size_t end = 0;
    while (end < a.size() - start && end < b.size() - start &&
           a[a.size() - 1 - end] == b[b.size() - 1 - end])
        ++end;
    const int n = line.n = static_cast<int>(a.size() - start - end);
    const int m = line.m = static_cast<int>(b.size() - start - end);
    line.removed.assign(n, false);
    line.added.assign(m, false);
    line.hashA.resize(n);
    line.hashB.resize(m);
    for (int i = 0; i < n; ++i)
        line.hashA[i] = qHash(a[start + i]);
    for (int j = 0; j < m; ++j)
        line.hashB[j] = qHash(b[start + j]);
    const auto same = [&](int i, int j) {
        return line.hashA[i] == line.hashB[j] && a[start + i] == b[start + j];
    };

    const int most = std::min(n + m, kMostEdits);
    const int offset = most + 1;
    std::vector<int> reach(2 * most + 3, 0); // the furthest x on each diagonal k = x - y
    std::vector<std::vector<int>> trace;
    int found = -1;
    for (int d = 0; d <= most && found < 0; ++d) {
        trace.push_back(reach);
        for (int k = -d; k <= d; k += 2) {
            int x = (k == -d || (k != d && reach[offset + k - 1] < reach[offset + k + 1]))
                        ? reach[offset + k + 1]
                        : reach[offset + k - 1] + 1;
            int y = x - k;
            while (x < n && y < m && same(x, y)) {
                ++x;
                ++y;
            }
            reach[offset + k] = x;
            if (x >= n && y >= m) {
                found = d;
                break;
            }
        }
    }
    if (found < 0) {
        line.walked = false;
        return line;
    }
    // Back along the path: which items of each side are not matched.
    int x = n, y = m;
    for (int d = found; d > 0; --d) {
        const std::vector<int> &before = trace[d];
        const int k = x - y;
        const bool down = k == -d || (k != d && before[offset + k - 1] < before[offset + k + 1]);
        const int previousK = down ? k + 1 : k - 1;
        const int previousX = before[offset + previousK];
        const int previousY = previousX - previousK;
        if (down)
            line.added[previousY] = true;
        else
            line.removed[previousX] = true;
        x = previousX;
        y = previousY;
    }
    return line;
}

// Where a new item comes from: an old item it was matched with, moved from
// or changed from, or none (-1: it is added).
struct Source {
    int old = -1;
    bool matched = false; // on the shortest edit's path: in place already
};

class PatchWriter
{
public:
    QByteArray ops; // the operations written so far, comma-separated

    explicit PatchWriter(Indexes indexes = {}) : indexes_(indexes) {}

    // Writes the operations that turn `before` into `after` at `path`.
    void Diff(QByteArrayView before, QByteArrayView after, const QByteArray &path)
    {
        if (before == after)
            return;
        const qsizetype mark = ops.size();
        if (!walk(before, after, path) ||
            ops.size() - mark >= kReplaceFrame + path.size() + after.size()) {
            ops.truncate(mark);
            write("replace", path, after);
        }
    }

    // Diff for arrays given as their items.
    void DiffItems(const std::vector<QByteArrayView> &before,
                   const std::vector<QByteArrayView> &after, const QByteArray &path)
    {
        if (std::equal(before.begin(), before.end(), after.begin(), after.end()))
            return;
        const qsizetype mark = ops.size();
        diffArrays(before, after, path);
        qsizetype size = 2 + std::max<qsizetype>(0, static_cast<qsizetype>(after.size()) - 1);
        for (const QByteArrayView item : after)
            size += item.size();
        if (ops.size() - mark >= kReplaceFrame + path.size() + size) {
            ops.truncate(mark);
            QByteArray array;
            array.reserve(size);
            array += '[';
            for (std::size_t i = 0; i < after.size(); ++i) {
                if (i > 0)
                    array += ',';
                array += after[i];
            }
            array += ']';
            write("replace", path, array);
        }
    }

private:
    Indexes indexes_;
    static constexpr qsizetype kReplaceFrame =
        QByteArrayView(R"(,{"op":"replace","path":"","value":})").size();

    bool walk(QByteArrayView before, QByteArrayView after, const QByteArray &path)
    {
        if (const auto old = parts(before, '[', ']', indexes_)) {
            if (const auto now = parts(after, '[', ']', indexes_)) {
                diffArrays(*old, *now, path);
                return true;
            }
        } else if (const auto old = parts(before, '{', '}', indexes_)) {
            if (const auto now = parts(after, '{', '}', indexes_)) {
                diffObjects(*old, *now, path);
                return true;
            }
        }
        return false;
    }

    void write(const char *op, const QByteArray &path, QByteArrayView value = {})
    {
        if (!ops.isEmpty())
            ops += ',';
        ops += "{\"op\":\"";
        ops += op;
        ops += "\",\"path\":\"";
        ops += path;
        if (!value.isEmpty()) {
            ops += "\",\"value\":";
            ops += value;
            ops += '}';
        } else {
            ops += "\"}";
        }
    }

    void move(const QByteArray &path, std::size_t from, std::size_t to)
    {
        if (!ops.isEmpty())
            ops += ',';
        ops += "{\"op\":\"move\",\"from\":\"" + index(path, from) + "\",\"path\":\"" +
               index(path, to) + "\"}";
    }

    static QByteArray index(const QByteArray &path, std::size_t at)
    {
        return path + '/' + QByteArray::number(static_cast<qulonglong>(at));
    }

    // Member by member: names gone are removed, new ones added, the others
    // patched. Member order is not kept: a JSON object has none.
    void diffObjects(const std::vector<QByteArrayView> &old, const std::vector<QByteArrayView> &now,
                     const QByteArray &path)
    {
        const auto valueOf = [](const std::vector<QByteArrayView> &members, std::size_t hint,
                                QByteArrayView name) -> std::optional<QByteArrayView> {
            if (hint + 1 < members.size() && members[hint] == name)
                return members[hint + 1]; // the same names in the same order: the usual case
            for (std::size_t i = 0; i < members.size(); i += 2)
                if (members[i] == name)
                    return members[i + 1];
            return std::nullopt;
        };
        for (std::size_t i = 0; i < old.size(); i += 2)
            if (!valueOf(now, i, old[i]))
                write("remove", path + '/' + JsonPatch::PointerStep(old[i]));
        for (std::size_t i = 0; i < now.size(); i += 2) {
            const QByteArray inner = path + '/' + JsonPatch::PointerStep(now[i]);
            if (const auto before = valueOf(old, i, now[i]))
                Diff(*before, now[i + 1], inner);
            else
                write("add", inner, now[i + 1]);
        }
    }

    // Pairs the items still added with items still removed that a patch
    // of under half their size turns into them, the closest first; only a
    // few of each are tried.
    void pairSimilar(const std::vector<QByteArrayView> &old, const std::vector<QByteArrayView> &now,
                     const Alignment &line, std::vector<Source> &sources, std::vector<bool> &taken)
    {
        constexpr std::size_t kMostTried = 8;
        std::vector<int> removed, added;
        for (int i = 0; i < line.n && removed.size() <= kMostTried; ++i)
            if (line.removed[i] && !taken[i])
                removed.push_back(i);
        for (int j = 0; j < line.m && added.size() <= kMostTried; ++j)
            if (line.added[j] && sources[j].old < 0)
                added.push_back(j);
        if (removed.empty() || added.empty() || removed.size() > kMostTried ||
            added.size() > kMostTried)
            return;
        for (const int j : added) {
            const QByteArrayView item = now[line.start + j];
            int best = -1;
            qsizetype shortest = item.size() / 2;
            for (const int i : removed) {
                if (taken[i])
                    continue;
                PatchWriter trial(indexes_);
                trial.Diff(old[line.start + i], item, {});
                if (trial.ops.size() < shortest) {
                    shortest = trial.ops.size();
                    best = i;
                }
            }
            if (best >= 0) {
                sources[j].old = best;
                taken[best] = true;
            }
        }
    }

    void diffArrays(const std::vector<QByteArrayView> &old, const std::vector<QByteArrayView> &now,
                    const QByteArray &path)
    {
        const Alignment line = align(old, now);
        const std::size_t start = line.start;
        if (!line.walked) {
            // Too far apart to line up: item by item where both have one.
            const int both = std::min(line.n, line.m);
            for (int k = 0; k < both; ++k)
                Diff(old[start + k], now[start + k], index(path, start + k));
            for (int i = line.n - 1; i >= both; --i)
                write("remove", index(path, start + i));
            for (int j = both; j < line.m; ++j)
                write("add", index(path, start + j), now[start + j]);
            return;
        }

        // Each new item's source: matched along the path, else an equal
        // removed item (moved), else a removed item of a run of as many
        // removed as added (changed in place), else a removed item that a few
        // operations make it (changed and moved: a sorted table's line),
        // else none (added).
        std::vector<Source> sources(line.m);
        std::vector<bool> taken(line.n, false);
        const auto take = [&](int i, int j) {
            sources[j].old = i;
            taken[i] = true;
        };
        for (int j = 0; j < line.m; ++j) {
            for (int i = 0; line.added[j] && i < line.n; ++i) {
                if (line.removed[i] && !taken[i] && line.hashA[i] == line.hashB[j] &&
                    old[start + i] == now[start + j]) {
                    take(i, j);
                    break;
                }
            }
        }
        for (int i = 0, j = 0; i < line.n || j < line.m;) {
            if (i < line.n && j < line.m && !line.removed[i] && !line.added[j]) {
                sources[j++] = {i++, true};
                continue;
            }
            std::vector<int> removed, added;
            for (; i < line.n && line.removed[i]; ++i)
                if (!taken[i])
                    removed.push_back(i);
            for (; j < line.m && line.added[j]; ++j)
                if (sources[j].old < 0)
                    added.push_back(j);
            if (removed.size() == added.size())
                for (std::size_t k = 0; k < added.size(); ++k)
                    take(removed[k], added[k]);
        }
        pairSimilar(old, now, line, sources, taken);

        // The array as it is while the operations are applied, by old index
        // (-1 - j for new item j), from the removed items down, then the new
        // ones each put after the one before it; the matched stay where
        // they are.
        std::vector<int> current;
        current.reserve(line.n + line.m);
        for (int i = 0; i < line.n; ++i)
            if (!line.removed[i] || taken[i])
                current.push_back(i);
        for (int i = line.n - 1; i >= 0; --i)
            if (line.removed[i] && !taken[i])
                write("remove", index(path, start + i));
        const auto at = [&current](int token) {
            return static_cast<std::size_t>(std::find(current.begin(), current.end(), token) -
                                            current.begin());
        };
        for (int j = 0; j < line.m; ++j) {
            const Source source = sources[j];
            if (source.matched)
                continue;
            const std::size_t to =
                j == 0 ? 0 : at(sources[j - 1].old >= 0 ? sources[j - 1].old : -j) + 1;
            if (source.old < 0) {
                write("add", index(path, start + to), now[start + j]);
                current.insert(current.begin() + to, -1 - j);
                continue;
            }
            const std::size_t from = at(source.old);
            const std::size_t put = from < to ? to - 1 : to;
            if (put != from) {
                move(path, start + from, start + put);
                current.erase(current.begin() + from);
                current.insert(current.begin() + put, source.old);
            }
            Diff(old[start + source.old], now[start + j], index(path, start + put));
        }
    }
};

} // namespace

QByteArray JsonPatch::Between(QByteArrayView before, QByteArrayView after)
{
    return '[' + Operations(before, after, {}) + ']';
}

QByteArray JsonPatch::Operations(QByteArrayView before, QByteArrayView after,
                                 const QByteArray &path)
{
    // Short texts are scanned as they are walked; long ones are indexed once.
    constexpr qsizetype kIndexed = 4096;
    const std::optional<BracketIndex> old =
        before.size() >= kIndexed ? std::optional(BracketIndex(before)) : std::nullopt;
    const std::optional<BracketIndex> now =
        after.size() >= kIndexed ? std::optional(BracketIndex(after)) : std::nullopt;
    PatchWriter writer({old ? &*old : nullptr, now ? &*now : nullptr});
    writer.Diff(before, after, path);
    return writer.ops;
}

QByteArray JsonPatch::ArrayOperations(std::span<const QByteArrayView> before,
                                      std::span<const QByteArrayView> after, const QByteArray &path)
{
    PatchWriter writer;
    writer.DiffItems({before.begin(), before.end()}, {after.begin(), after.end()}, path);
    return writer.ops;
}

QByteArray JsonPatch::PointerStep(QByteArrayView name)
{
    const QByteArrayView step = name.sliced(1, name.size() - 2);
    if (step.contains('\\')) {
        // Escaped in the text: decoded, so that "\/" is a slash too.
        const QString decoded =
            QJsonDocument::fromJson('[' + name.toByteArray() + ']').array().first().toString();
        const QByteArray quoted =
            QJsonDocument(QJsonArray{QString(decoded).replace('~', "~0").replace('/', "~1")})
                .toJson(QJsonDocument::Compact); // ["..."]
        return quoted.mid(2, quoted.size() - 4);
    }
    if (!step.contains('~') && !step.contains('/'))
        return step.toByteArray(); // the usual name
    return step.toByteArray().replace('~', "~0").replace('/', "~1");
}
