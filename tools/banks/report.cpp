// The factory library for a person to look at: one page per storage with every single's held C4
// (level over time) and its sound at C3, C4 and C5 (band levels of the held note), and a table of
// the library's figures with the near-twins it finds:
//   virel_banks_report <folder>
// writes <folder>/bank_<storage symbol>.png and <folder>/library.txt.
#include <cairo.h>

#include <cstdio>
#include <string>
#include <vector>

#include "Library.h"
#include "Rules.h"
#include "Survey.h"

namespace
{
constexpr int PanelWidth = 300;
constexpr int PanelHeight = 170;
constexpr int Columns = 8;
constexpr int Rows = 8;
constexpr int Header = 40;

struct Entry
{
	banks::NoteSurvey note;
	double chordDb = 0.0;
	std::array<banks::Print, banks::PrintKeys.size()> prints{};
	bool unreachedModulation = false;
};

void text(cairo_t* cr, double x, double y, double size, const std::string& s)
{
	cairo_set_font_size(cr, size);
	cairo_move_to(cr, x, y);
	cairo_show_text(cr, s.c_str());
}

// Level from 0 dB at the top to -60 dB at the bottom of the box.
double levelY(double db, double top, double height)
{
	const double clipped = db > 0.0 ? 0.0 : db < -60.0 ? -60.0 : db;
	return top + height * (-clipped / 60.0);
}

void drawPanel(cairo_t* cr, const Entry& e, size_t index, double x, double y)
{
	cairo_set_source_rgb(cr, 0.12, 0.13, 0.15);
	cairo_rectangle(cr, x + 2, y + 2, PanelWidth - 4, PanelHeight - 4);
	cairo_fill(cr);
	cairo_set_source_rgb(cr, 0.95, 0.95, 0.9);
	char line[128];
	std::snprintf(line, sizeof line, "%03zu %s", index % 64, e.note.name.c_str());
	text(cr, x + 8, y + 18, 13, line);
	std::snprintf(line, sizeof line, "C4 %.1f  chord %.1f dBFS  peak at %.0f ms", e.note.peakDb, e.chordDb,
	              e.note.secondsToPeak * 1000.0);
	text(cr, x + 8, y + 33, 10, line);

	// Left: the held C4 over time, hold and release, with its strikes marked.
	const double boxX = x + 8, boxY = y + 42, boxW = 140, boxH = PanelHeight - 52;
	cairo_set_source_rgb(cr, 0.25, 0.26, 0.3);
	cairo_rectangle(cr, boxX, boxY, boxW, boxH);
	cairo_stroke(cr);
	const double seconds = static_cast<double>(e.note.levels.size()) * 0.01;
	cairo_set_source_rgb(cr, 0.4, 0.85, 0.5);
	for (size_t i = 0; i < e.note.levels.size(); ++i)
	{
		const double px = boxX + boxW * (static_cast<double>(i) * 0.01) / seconds;
		const double py = levelY(e.note.levels[i], boxY, boxH);
		i == 0 ? cairo_move_to(cr, px, py) : cairo_line_to(cr, px, py);
	}
	cairo_stroke(cr);
	cairo_set_source_rgb(cr, 0.95, 0.3, 0.3);
	for (double t : e.note.strikes)
	{
		cairo_move_to(cr, boxX + boxW * t / seconds, boxY);
		cairo_line_to(cr, boxX + boxW * t / seconds, boxY + boxH);
	}
	cairo_stroke(cr);

	// Right: band levels of the held note at C3, C4 and C5.
	const double sx = x + 156, sw = PanelWidth - 164;
	cairo_set_source_rgb(cr, 0.25, 0.26, 0.3);
	cairo_rectangle(cr, sx, boxY, sw, boxH);
	cairo_stroke(cr);
	const double colours[3][3] = {{0.9, 0.6, 0.2}, {0.3, 0.7, 0.95}, {0.85, 0.45, 0.9}};
	for (size_t k = 0; k < e.prints.size(); ++k)
	{
		cairo_set_source_rgb(cr, colours[k][0], colours[k][1], colours[k][2]);
		for (size_t b = 0; b < banks::PrintBands; ++b)
		{
			const double px = sx + sw * (static_cast<double>(b) + 0.5) / banks::PrintBands;
			const double py = levelY(e.prints[k][2][b], boxY, boxH);
			b == 0 ? cairo_move_to(cr, px, py) : cairo_line_to(cr, px, py);
		}
		cairo_stroke(cr);
	}
	if (e.unreachedModulation)
	{
		cairo_set_source_rgb(cr, 0.95, 0.3, 0.3);
		text(cr, x + PanelWidth - 70, y + 18, 10, "no vib src");
	}
}

bool writePage(const std::string& path, size_t storage, const std::vector<Entry>& entries)
{
	cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, Columns * PanelWidth, Header + Rows * PanelHeight);
	cairo_t* cr = cairo_create(surface);
	cairo_set_source_rgb(cr, 0.05, 0.05, 0.06);
	cairo_paint(cr);
	cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
	cairo_set_line_width(cr, 1.2);
	cairo_set_source_rgb(cr, 0.95, 0.95, 0.9);
	const std::string title = std::string(banks::storageSymbol(storage)) + ": " + banks::storageTheme(storage) +
	                          "   (left: held C4, 2 s and release, 0..-60 dB; right: held C3, C4, C5 by third-octave band)";
	text(cr, 10, 26, 18, title);
	for (size_t i = 0; i < 64; ++i)
		drawPanel(cr, entries[storage * 64 + i], storage * 64 + i, static_cast<double>(i % Columns) * PanelWidth,
		          Header + static_cast<double>(i / Columns) * PanelHeight);
	cairo_destroy(cr);
	const bool ok = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
	cairo_surface_destroy(surface);
	return ok;
}
}

int main(int argc, char** argv)
{
	if (argc != 2)
	{
		std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
		return 2;
	}
	const std::string folder = argv[1];
	// The facade logs every program change on standard output; the report speaks on its own files.
	if (!std::freopen("/dev/null", "w", stdout))
		return 1;

	banks::Audition audition;
	const size_t count = audition.singleCount();
	std::vector<Entry> entries(count);
	for (size_t i = 0; i < count; ++i)
	{
		Entry& e = entries[i];
		e.note = banks::surveyNote(audition, i);
		e.chordDb = banks::surveyChordPeakDb(audition, i);
		e.prints = banks::surveyPrints(audition, i);
		e.unreachedModulation = banks::pitchModulationReachesNoSource(audition.single(i));
	}

	const std::string tablePath = folder + "/library.txt";
	FILE* table = std::fopen(tablePath.c_str(), "w");
	if (!table)
	{
		std::fprintf(stderr, "cannot write %s\n", tablePath.c_str());
		return 1;
	}
	std::fprintf(table, "index name        C4 dBFS  chord dBFS  to peak ms  strikes  modulation\n");
	int overHeadroom = 0, swells = 0, striking = 0, unreached = 0;
	for (size_t i = 0; i < count; ++i)
	{
		const Entry& e = entries[i];
		std::fprintf(table, "%5zu %-10s %8.1f %11.1f %11.0f %8zu  %s\n", i, e.note.name.c_str(), e.note.peakDb, e.chordDb,
		             e.note.secondsToPeak * 1000.0, e.note.strikes.size(), e.unreachedModulation ? "reaches no source" : "");
		overHeadroom += e.chordDb > -1.0;
		swells += e.note.secondsToPeak >= 0.2;
		striking += !e.note.strikes.empty();
		unreached += e.unreachedModulation;
	}
	std::fprintf(table, "\nnear-twins (largest print distance under 2 dB at C3, C4 and C5), storages 1..11:\n");
	int twins = 0;
	for (size_t a = 64; a < count; ++a)
		for (size_t b = a + 1; b < count; ++b)
		{
			const double d = banks::twinDistanceDb(entries[a].prints, entries[b].prints);
			if (d < banks::TwinDistanceDb)
			{
				std::fprintf(table, "%4zu %-10s  %4zu %-10s  %.2f dB\n", a, entries[a].note.name.c_str(), b,
				             entries[b].note.name.c_str(), d);
				++twins;
			}
		}
	std::fprintf(table, "\nchords above -1 dBFS: %d, reaching their peak after 200 ms or later: %d, striking again while "
	                    "held: %d, modulation reaching no source: %d, near-twin pairs: %d\n",
	             overHeadroom, swells, striking, unreached, twins);
	std::fclose(table);

	for (size_t storage = 0; storage < banks::StorageCount; ++storage)
	{
		const std::string path = folder + "/bank_" + banks::storageSymbol(storage) + ".png";
		if (!writePage(path, storage, entries))
		{
			std::fprintf(stderr, "cannot write %s\n", path.c_str());
			return 1;
		}
	}
	std::fprintf(stderr, "wrote %s and 12 pages\n", tablePath.c_str());
	return 0;
}
