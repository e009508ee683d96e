#include "tickets/ticket_spooler.h"

namespace tickets {

TicketSpooler::TicketSpooler(QObject* parent) : QObject(parent), worker_(new QObject) {
    thread_.setObjectName(QStringLiteral("tickets"));
    worker_->moveToThread(&thread_);
    connect(&thread_, &QThread::finished, worker_, &QObject::deleteLater);
    thread_.start(QThread::LowPriority);
}

TicketSpooler::~TicketSpooler() {
    thread_.quit();
    thread_.wait();
}

void TicketSpooler::setPrinter(std::shared_ptr<TicketPrinter> printer) {
    printer_ = std::move(printer);
}

void TicketSpooler::enqueue(std::vector<Ticket> tickets) {
    if (!printer_ || tickets.empty())
        return;
    ++pending_;
    // The batch holds its printer: a change of printer applies to later batches only.
    QMetaObject::invokeMethod(
        worker_,
        [this, printer = printer_, tickets = std::move(tickets)] {
            QString problem;
            const bool printed = printer->print(tickets, &problem);
            QMetaObject::invokeMethod(
                this,
                [this, printed, problem] {
                    if (!printed)
                        Q_EMIT failed(problem);
                    if (--pending_ == 0)
                        Q_EMIT idle();
                },
                Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
}

} // namespace tickets
