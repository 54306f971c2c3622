#include "JsonEdits.h"

#include <QHash>
#include <QJsonObject>
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

// Where the value starting at `at` ends (one past it); -1 when it does not.
qsizetype valueEnd(QByteArrayView text, qsizetype at)
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
std::optional<std::vector<QByteArrayView>> parts(QByteArrayView text, char open, char close)
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
        const qsizetype end = valueEnd(text, at);
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

// A run of items of the old array (from `before`, `removed` of them) that
// stands where a run of the new one does (from `after`, `added`).
struct Hunk {
    std::size_t before = 0, removed = 0, after = 0, added = 0;
};

// How far apart two arrays may be before the part between their common start
// and end is replaced whole: a play changes a few rows, a new sort all.
constexpr int kMostEdits = 64;

// The shortest edit between `a` and `b` (Myers' O((N+M)D) walk along the
// diagonals), as the runs that differ; one run of everything between the
// common start and end when more than kMostEdits items differ.
std::vector<Hunk> hunks(const std::vector<QByteArrayView> &a, const std::vector<QByteArrayView> &b)
{
    std::size_t start = 0;
    while (start < a.size() && start < b.size() && a[start] == b[start])
        ++start;
    std::size_t end = 0;
    while (end < a.size() - start && end < b.size() - start &&
           a[a.size() - 1 - end] == b[b.size() - 1 - end])
        ++end;
    const int n = static_cast<int>(a.size() - start - end);
    const int m = static_cast<int>(b.size() - start - end);
    if (n == 0 && m == 0)
        return {};
    std::vector<std::size_t> hashA(n), hashB(m);
    for (int i = 0; i < n; ++i)
        hashA[i] = qHash(a[start + i]);
    for (int j = 0; j < m; ++j)
        hashB[j] = qHash(b[start + j]);
    const auto same = [&](int i, int j) {
        return hashA[i] == hashB[j] && a[start + i] == b[start + j];
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
    if (found < 0)
        return {{start, static_cast<std::size_t>(n), start, static_cast<std::size_t>(m)}};

    // Back along the path: which items of each side are not matched.
    std::vector<bool> removed(n, false), added(m, false);
    int x = n, y = m;
    for (int d = found; d > 0; --d) {
        const std::vector<int> &before = trace[d];
        const int k = x - y;
        const bool down = k == -d || (k != d && before[offset + k - 1] < before[offset + k + 1]);
        const int previousK = down ? k + 1 : k - 1;
        const int previousX = before[offset + previousK];
        const int previousY = previousX - previousK;
        if (down)
            added[previousY] = true;
        else
            removed[previousX] = true;
        x = previousX;
        y = previousY;
    }
    std::vector<Hunk> runs;
    int i = 0, j = 0;
    while (i < n || j < m) {
        if (i < n && j < m && !removed[i] && !added[j]) {
            ++i;
            ++j;
            continue;
        }
        Hunk run{start + i, 0, start + j, 0};
        for (; i < n && removed[i]; ++i)
            ++run.removed;
        for (; j < m && added[j]; ++j)
            ++run.added;
        runs.push_back(run);
    }
    return runs;
}

class EditWriter
{
public:
    QByteArray edits;

    // Writes the edits from `before` to `after` at `path` (its steps joined by
    // commas); false, writing nothing, when `after` must be put there whole.
    bool Diff(QByteArrayView before, QByteArrayView after, const QByteArray &path)
    {
        if (before == after)
            return true;
        if (const auto old = parts(before, '[', ']')) {
            if (const auto now = parts(after, '[', ']')) {
                diffArrays(*old, *now, path);
                return true;
            }
        }
        if (const auto old = parts(before, '{', '}')) {
            if (const auto now = parts(after, '{', '}'); now && sameNames(*old, *now)) {
                for (std::size_t i = 1; i < old->size(); i += 2) {
                    const QByteArray inner = join(path, (*now)[i - 1]);
                    if (!Diff((*old)[i], (*now)[i], inner))
                        set(inner, (*now)[i]);
                }
                return true;
            }
        }
        return false;
    }

private:
    static bool sameNames(const std::vector<QByteArrayView> &a,
                          const std::vector<QByteArrayView> &b)
    {
        if (a.size() != b.size())
            return false;
        for (std::size_t i = 0; i < a.size(); i += 2)
            if (a[i] != b[i])
                return false;
        return true;
    }

    static QByteArray join(const QByteArray &path, QByteArrayView step)
    {
        return path.isEmpty() ? step.toByteArray() : path + ',' + step.toByteArray();
    }

    void begin(const QByteArray &path)
    {
        edits += edits.isEmpty() ? "{\"path\":[" : ",{\"path\":[";
        edits += path;
        edits += "],";
    }

    void set(const QByteArray &path, QByteArrayView value)
    {
        begin(path);
        edits += "\"set\":";
        edits += value;
        edits += '}';
    }

    void diffArrays(const std::vector<QByteArrayView> &old, const std::vector<QByteArrayView> &now,
                    const QByteArray &path)
    {
        const std::vector<Hunk> runs = hunks(old, now);
        for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
            if (run->removed == run->added) { // items changed in place
                for (std::size_t k = 0; k < run->added; ++k) {
                    const QByteArray inner =
                        join(path, QByteArray::number(static_cast<qsizetype>(run->before + k)));
                    if (!Diff(old[run->before + k], now[run->after + k], inner))
                        set(inner, now[run->after + k]);
                }
                continue;
            }
            begin(path);
            edits += "\"splice\":[" + QByteArray::number(static_cast<qsizetype>(run->before)) +
                     ',' + QByteArray::number(static_cast<qsizetype>(run->removed)) + ",[";
            for (std::size_t k = 0; k < run->added; ++k) {
                if (k > 0)
                    edits += ',';
                edits += now[run->after + k];
            }
            edits += "]]}";
        }
    }
};

// `node` with `edit` done at its path from step `depth` on.
QJsonValue applied(const QJsonValue &node, const QJsonArray &path, qsizetype depth,
                   const QJsonObject &edit)
{
    if (depth == path.size()) {
        const QJsonArray splice = edit["splice"].toArray();
        QJsonArray items = node.toArray();
        const qsizetype at = splice[0].toInteger(-1);
        const qsizetype count = splice[1].toInteger(-1);
        if (!node.isArray() || splice.size() != 3 || at < 0 || count < 0 ||
            at + count > items.size())
            return node;
        for (qsizetype i = 0; i < count; ++i)
            items.removeAt(at);
        qsizetype into = at;
        for (const QJsonValue item : splice[2].toArray())
            items.insert(into++, item);
        return items;
    }
    const QJsonValue step = path[depth];
    const bool last = depth + 1 == path.size() && edit.contains("set");
    if (node.isArray() && step.isDouble()) {
        QJsonArray array = node.toArray();
        const qsizetype index = step.toInteger(-1);
        if (index < 0 || index >= array.size())
            return node;
        array[index] = last ? edit["set"] : applied(array[index], path, depth + 1, edit);
        return array;
    }
    if (node.isObject() && step.isString()) {
        QJsonObject object = node.toObject();
        const QString name = step.toString();
        object[name] = last ? edit["set"] : applied(object[name], path, depth + 1, edit);
        return object;
    }
    return node;
}

} // namespace

std::optional<QByteArray> JsonEdits::Between(QByteArrayView before, QByteArrayView after)
{
    EditWriter writer;
    if (!writer.Diff(before, after, {}))
        return std::nullopt;
    QByteArray edits = '[' + writer.edits + ']';
    if (edits.size() >= after.size())
        return std::nullopt;
    return edits;
}

QJsonValue JsonEdits::Apply(QJsonValue value, const QJsonArray &edits)
{
    for (const QJsonValue edit : edits) {
        const QJsonObject object = edit.toObject();
        if (!object["path"].isArray())
            continue;
        const QJsonArray path = object["path"].toArray();
        if (object.contains("set") && path.isEmpty())
            value = object["set"];
        else if (object.contains("set") || object.contains("splice"))
            value = applied(value, path, 0, object);
    }
    return value;
}
