#pragma once

#include "chartrenderer.h"

#include <QString>
#include <QTemporaryDir>

#include <memory>

class CTessavoxDoc;
class CTessavoxFormView;
class PlotView;

// A generated Formant file of `count` tokens in a scratch folder that goes with the object.
class SampleFile
{
public:
    explicit SampleFile(int count);

    bool isValid() const { return !m_path.isEmpty(); }
    const QString &path() const { return m_path; }
    // A path beside the sample for files the benchmarks write.
    QString scratchPath(const QString &name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
    QString m_path;
};

// A Formant file opened as the program opens it: the document reads the file, then its
// table view fills the grid, sorts it by symbol and numbers the vowels.
class OpenedTable
{
public:
    explicit OpenedTable(const QString &path);
    ~OpenedTable();

    bool isValid() const { return m_valid; }
    CTessavoxDoc &document() { return *m_doc; }
    CTessavoxFormView &table() { return *m_table; }

    // A chart window's view of the table, `width` x `height`; the table keeps it.
    PlotView &addChart(ChartKind kind, int width = 800, int height = 600);

    OpenedTable(const OpenedTable &) = delete;
    OpenedTable &operator=(const OpenedTable &) = delete;

private:
    std::unique_ptr<CTessavoxDoc> m_doc;
    std::unique_ptr<CTessavoxFormView> m_table; // a view of m_doc; goes before it
    std::unique_ptr<PlotView> m_chart;          // a view of m_doc; goes first
    bool m_valid = false;
};
