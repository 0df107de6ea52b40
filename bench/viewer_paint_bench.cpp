// One full paint of the business card, as the viewer does on every paint.

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include "BenchFixtures.h"
#include "viewer/CardPaint.h"
#include "viewer/CardTexts.h"

namespace {

using namespace ab;

// An 800 x 600 client area: the card centred on grey, at 96 dots per inch like a screen.
void PaintCardBench(benchmark::State& state, bool withMedia) {
  ContactRecord record;
  bench::FillSampleRecord(record, 7, withMedia);
  if (withMedia) record.SetLogo(bench::MakeBmp(20 * 1024));
  QImage image(800, 600, QImage::Format_RGB32);
  image.setDotsPerMeterX(3780);
  image.setDotsPerMeterY(3780);
  CardCells cells;
  for (auto _ : state) {
    QPainter painter(&image);
    PaintCard(painter, image.size(), 80, 50, cells, &record);
    painter.end();
    benchmark::DoNotOptimize(image.constBits());
  }
}

void BM_PaintCard_LogoAndPhoto(benchmark::State& state) { PaintCardBench(state, true); }
void BM_PaintCard_TextOnly(benchmark::State& state) { PaintCardBench(state, false); }

BENCHMARK(BM_PaintCard_LogoAndPhoto)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintCard_TextOnly)->Unit(benchmark::kMicrosecond);

}  // namespace
