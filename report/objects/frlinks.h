#pragma once
// What the report objects need of the page that holds them and of the report
// being built or designed. The template page and the report component
// implement these; tests use small fakes.
#include "report/objects/frobject.h"

#include <QStringList>

class QObject;

namespace report
{

class TfrView;
class TfrBand;
class TfrDataset;
class TfrReport;

enum TfrPageType { ptReport = 0, ptDialog = 1 };

class FrPageLink : public TfrObject
{
public:
    virtual int PageType() const { return ptReport; }
    // Page size in report pixels.
    virtual int PageWidth() const = 0;
    virtual int PageHeight() const = 0;
    // Edges of the printable area in report pixels.
    virtual int LeftMarginPos() const = 0;
    virtual int RightMarginPos() const = 0;

    virtual int ObjectCount() const = 0;
    virtual TfrView *Object(int index) const = 0;
    // The object of that name, ignoring letter case.
    virtual TfrView *FindObject(const QString &name) const;
    // The run-time band of a band type while the page is formed (none here).
    virtual TfrBand *BandOfType(int bandType) const;
    // The window of a dialog page (its controls' names must stay free).
    virtual QObject *DialogForm() const { return nullptr; }
};

class FrReportLink
{
public:
    virtual ~FrReportLink() = default;

    // The report component's name.
    virtual QString ReportName() const = 0;
    virtual int PageCount() const = 0;
    virtual FrPageLink *Page(int index) const = 0;
    // The first object of that name over all pages, ignoring letter case.
    virtual TfrView *FindObject(const QString &name) const;

    virtual bool HasOnBeforePrint() const { return false; }
    // Loads a blob-bound view's field, then calls the report's before-print event.
    virtual void BeforePrintObject(QStringList &memo, TfrView *view);
    // Sets the report's stop flag.
    virtual void Terminate() {}
    // A cross band begins its columns; a cross column may change its width.
    virtual void BeginColumn(TfrBand *) {}
    virtual void PrintColumn(int, int &) {}

    // The report's own record source and whether the report is simple
    // (its master data band takes that source when it names none).
    virtual bool IsSimpleReport() const { return true; }
    virtual TfrDataset *ReportDataset() const { return nullptr; }
    // The report component behind the link, if it is one: asked for every
    // object printed, where a dynamic_cast would cost more than the object.
    virtual TfrReport *AsReport() { return nullptr; }
};

} // namespace report
