#pragma once

#include "tickets/ticket.h"

#include <QString>

#include <vector>

namespace tickets {

// Where tickets go. Called on the printing thread only.
class TicketPrinter {
public:
    virtual ~TicketPrinter() = default;
    // False with *problem (Chinese) when not every ticket reached the printer.
    virtual bool print(const std::vector<Ticket>& tickets, QString* problem) = 0;
};

// A receipt printer through Qt's printing, one ticket a page; with pdfFile, a PDF instead.
class QtTicketPrinter : public TicketPrinter {
public:
    // printerName empty: the system's default printer.
    QtTicketPrinter(QString printerName, int paperWidthMm, QString pdfFile = {});
    bool print(const std::vector<Ticket>& tickets, QString* problem) override;

private:
    QString printerName_;
    int paperWidthMm_;
    QString pdfFile_;
};

} // namespace tickets
