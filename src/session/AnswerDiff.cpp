#include "AnswerDiff.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QTextBoundaryFinder>
#include <algorithm>
#include <cstdint>

namespace {
struct TGrapheme {
  QString Text;
  QString Key;  // what is compared, after the leniencies
  int Id = 0;   // equal keys, equal ids: the table compares numbers
  bool Ignored = false;
};

// Numbers the keys of both texts alike.
void NumberKeys(std::vector<TGrapheme>& a, std::vector<TGrapheme>& b) {
  QHash<QString, int> ids;
  for (std::vector<TGrapheme>* list : {&a, &b})
    for (TGrapheme& g : *list) {
      auto it = ids.constFind(g.Key);
      if (it == ids.constEnd()) it = ids.insert(g.Key, static_cast<int>(ids.size()));
      g.Id = it.value();
    }
}

bool IsPunctuation(const QString& g) {
  const QList<uint> points = g.toUcs4();
  return !points.isEmpty() && std::all_of(points.begin(), points.end(), [](uint c) { return QChar::isPunct(c); });
}

QString KeyOf(const QString& g, const TAnswerLeniency& leniency) {
  // Most letters are ASCII: nothing to normalise.
  if (g.size() == 1 && g[0].unicode() < 0x80) return leniency.IgnoreCase ? g.toLower() : g;
  QString key = g;
  if (leniency.IgnoreAccents) {
    QString bare;
    for (uint c : g.normalized(QString::NormalizationForm_D).toUcs4())
      if (!QChar::isMark(c)) bare += QString::fromUcs4(reinterpret_cast<const char32_t*>(&c), 1);
    // A character made of marks only stays as it is.
    if (!bare.isEmpty()) key = bare;
  }
  if (leniency.IgnoreCase) key = key.toCaseFolded();
  return key.normalized(QString::NormalizationForm_C);
}

std::vector<TGrapheme> Split(std::string_view utf8, const TAnswerLeniency& leniency) {
  const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())).trimmed();
  std::vector<TGrapheme> out;
  QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
  qsizetype start = 0;
  while (finder.toNextBoundary() != -1) {
    const qsizetype end = finder.position();
    if (end <= start) continue;
    QString g = text.mid(start, end - start);
    start = end;
    const bool ignored = leniency.IgnorePunctuation && IsPunctuation(g);
    QString key = KeyOf(g, leniency);
    out.push_back(TGrapheme{std::move(g), std::move(key), 0, ignored});
  }
  return out;
}

// One step of the alignment: indices into the full grapheme lists (-1 for none).
struct TStep {
  int Expected = -1;
  int Typed = -1;
  TCharMark Mark = TCharMark::Right;
};

// The alignment with the fewest changes (edit distance), preferring a match,
// then a wrong character, then a missing or extra one.
std::vector<TStep> Align(const std::vector<TGrapheme>& expected, const std::vector<TGrapheme>& typed) {
  std::vector<int> a, b;
  for (int i = 0; i < static_cast<int>(expected.size()); ++i)
    if (!expected[static_cast<std::size_t>(i)].Ignored) a.push_back(i);
  for (int j = 0; j < static_cast<int>(typed.size()); ++j)
    if (!typed[static_cast<std::size_t>(j)].Ignored) b.push_back(j);
  const std::size_t n = a.size(), m = b.size();
  std::vector<int> idA(n), idB(m);
  for (std::size_t i = 0; i < n; ++i) idA[i] = expected[static_cast<std::size_t>(a[i])].Id;
  for (std::size_t j = 0; j < m; ++j) idB[j] = typed[static_cast<std::size_t>(b[j])].Id;
  auto same = [&](std::size_t i, std::size_t j) { return idA[i] == idB[j]; };

  std::vector<TStep> steps;
  // A pasted novel would make the table huge: beyond that, position by position.
  constexpr std::size_t kMostCells = 4'000'000;
  if ((n + 1) * (m + 1) > kMostCells) {
    for (std::size_t k = 0; k < std::max(n, m); ++k) {
      if (k < n && k < m)
        steps.push_back({a[k], b[k], same(k, k) ? TCharMark::Right : TCharMark::Wrong});
      else if (k < n)
        steps.push_back({a[k], -1, TCharMark::Missing});
      else
        steps.push_back({-1, b[k], TCharMark::Extra});
    }
    return steps;
  }

  const std::size_t w = m + 1;
  std::vector<uint32_t> cost((n + 1) * w);
  for (std::size_t i = 0; i <= n; ++i) cost[i * w] = static_cast<uint32_t>(i);
  for (std::size_t j = 0; j <= m; ++j) cost[j] = static_cast<uint32_t>(j);
  for (std::size_t i = 1; i <= n; ++i)
    for (std::size_t j = 1; j <= m; ++j)
      cost[i * w + j] = std::min({cost[(i - 1) * w + j - 1] + (same(i - 1, j - 1) ? 0u : 1u), cost[(i - 1) * w + j] + 1,
                                  cost[i * w + j - 1] + 1});

  std::size_t i = n, j = m;
  while (i > 0 || j > 0) {
    const uint32_t here = cost[i * w + j];
    if (i > 0 && j > 0 && same(i - 1, j - 1) && here == cost[(i - 1) * w + j - 1]) {
      steps.push_back({a[i - 1], b[j - 1], TCharMark::Right});
      --i, --j;
    } else if (i > 0 && j > 0 && here == cost[(i - 1) * w + j - 1] + 1) {
      steps.push_back({a[i - 1], b[j - 1], TCharMark::Wrong});
      --i, --j;
    } else if (i > 0 && here == cost[(i - 1) * w + j] + 1) {
      steps.push_back({a[i - 1], -1, TCharMark::Missing});
      --i;
    } else {
      steps.push_back({-1, b[j - 1], TCharMark::Extra});
      --j;
    }
  }
  std::reverse(steps.begin(), steps.end());
  return steps;
}
}  // namespace

TAnswerCheck CheckAnswer(std::string_view expected, std::string_view typed, const TAnswerLeniency& leniency) {
  std::vector<TGrapheme> want = Split(expected, leniency);
  std::vector<TGrapheme> got = Split(typed, leniency);
  NumberKeys(want, got);
  TAnswerCheck check;
  check.Correct = true;
  int nextTyped = 0;
  // Ignored punctuation the learner typed, up to (not including) typed index end.
  auto flushIgnored = [&](int end) {
    for (; nextTyped < end; ++nextTyped)
      check.Chars.push_back({got[static_cast<std::size_t>(nextTyped)].Text.toStdString(), TCharMark::Right});
  };
  for (const TStep& step : Align(want, got)) {
    if (step.Typed >= 0) flushIgnored(step.Typed);
    const TGrapheme& shown = step.Typed >= 0 ? got[static_cast<std::size_t>(step.Typed)]
                                             : want[static_cast<std::size_t>(step.Expected)];
    check.Chars.push_back({shown.Text.toStdString(), step.Mark});
    if (step.Mark != TCharMark::Right) check.Correct = false;
    if (step.Typed >= 0) nextTyped = step.Typed + 1;
  }
  flushIgnored(static_cast<int>(got.size()));
  return check;
}

std::size_t CountGraphemes(std::string_view utf8) {
  const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
  QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
  std::size_t count = 0;
  qsizetype start = 0;
  while (finder.toNextBoundary() != -1) {
    if (finder.position() > start) ++count;
    start = finder.position();
  }
  return count;
}
