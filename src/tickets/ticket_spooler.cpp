#include "tickets/ticket_spooler.h"

namespace tickets {

TicketSpooler::TicketSpooler(QObject* parent)
    : QObject(parent), thread_(new QThread), worker_(new QObject), link_(std::make_shared<Link>()) {
    link_->spooler = this;
    thread_->setObjectName(QStringLiteral("tickets"));
    worker_->moveToThread(thread_);
    connect(thread_, &QThread::finished, worker_, &QObject::deleteLater);
    thread_->start(QThread::LowPriority);
}

TicketSpooler::~TicketSpooler() {
    {
        const std::lock_guard<std::mutex> lock(link_->mutex);
        link_->spooler = nullptr;
    }
    thread_->quit();
    if (thread_->wait(kExitWaitMs))
        delete thread_;
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
        [link = link_, printer = printer_, tickets = std::move(tickets)] {
            QString problem;
            const bool printed = printer->print(tickets, &problem);
            const std::lock_guard<std::mutex> lock(link->mutex);
            if (TicketSpooler* spooler = link->spooler)
                QMetaObject::invokeMethod(
                    spooler, [spooler, printed, problem] { spooler->batchDone(printed, problem); },
                    Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
}

void TicketSpooler::batchDone(bool printed, const QString& problem) {
    if (!printed)
        Q_EMIT failed(problem);
    if (--pending_ == 0)
        Q_EMIT idle();
}

} // namespace tickets
