#include "tickets/ticket_printer.h"

#include "tickets/ticket_layout.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace tickets {

QtTicketPrinter::QtTicketPrinter(QString printerName, int paperWidthMm, QString pdfFile)
    : printerName_(std::move(printerName)), paperWidthMm_(paperWidthOrDefault(paperWidthMm)),
      pdfFile_(std::move(pdfFile)) {}

bool QtTicketPrinter::print(const std::vector<Ticket>& tickets, QString* problem) {
    if (tickets.empty())
        return true;
    QPrinter printer(QPrinter::HighResolution);
    if (!pdfFile_.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdfFile_);
    } else {
        const QPrinterInfo info = printerName_.isEmpty() ? QPrinterInfo::defaultPrinter()
                                                         : QPrinterInfo::printerInfo(printerName_);
        if (info.isNull()) {
            *problem = printerName_.isEmpty()
                           ? QStringLiteral("找不到默认打印机")
                           : QStringLiteral("找不到打印机“%1”").arg(printerName_);
            return false;
        }
        printer.setPrinterName(info.printerName());
    }
    printer.setFullPage(true);
    printer.setPageMargins(QMarginsF(0, 0, 0, 0));
    printer.setPageSize(ticketPageSize(paperWidthMm_));
    const QString name = pdfFile_.isEmpty() ? printer.printerName() : pdfFile_;
    QPainter painter;
    if (!painter.begin(&printer)) {
        *problem = QStringLiteral("无法打开打印机“%1”").arg(name);
        return false;
    }
    for (std::size_t i = 0; i < tickets.size(); ++i) {
        if (i > 0 && !printer.newPage()) {
            painter.end();
            *problem = QStringLiteral("打印机“%1”无法换页，第 %2 张起的 %3 张奖券没有打印")
                           .arg(name)
                           .arg(i + 1)
                           .arg(tickets.size() - i);
            return false;
        }
        paintTicket(painter, tickets[i], printer.pageRect(QPrinter::DevicePixel));
    }
    painter.end();
    if (printer.printerState() == QPrinter::Error || printer.printerState() == QPrinter::Aborted) {
        *problem = QStringLiteral("打印机“%1”出错，奖券可能没有打印").arg(name);
        return false;
    }
    return true;
}

} // namespace tickets
