#pragma once

#include "tickets/ticket.h"
#include "tickets/ticket_printer.h"

#include <QObject>
#include <QThread>

#include <memory>
#include <mutex>
#include <vector>

namespace tickets {

// Prints tickets on a thread of its own, in the order they came, so that a slow or missing
// printer never holds up the draw. Failures come back as failed() on the owner's thread.
class TicketSpooler : public QObject {
    Q_OBJECT
public:
    explicit TicketSpooler(QObject* parent = nullptr);
    // Waits a little for the tickets queued; a printer that hangs does not hold up the exit.
    ~TicketSpooler() override;

    // Tickets queued from now on go to printer.
    void setPrinter(std::shared_ptr<TicketPrinter> printer);
    void enqueue(std::vector<Ticket> tickets);

    static constexpr unsigned long kExitWaitMs = 3000;

Q_SIGNALS:
    void failed(const QString& problem);
    // Every ticket queued so far was handed to the printer (or failed).
    void idle();

private:
    // What the printing thread may still reach once the spooler is gone.
    struct Link {
        std::mutex mutex;
        TicketSpooler* spooler = nullptr;
    };

    void batchDone(bool printed, const QString& problem);

    QThread* thread_; // left running at exit when a printer hangs
    QObject* worker_; // lives on thread_
    std::shared_ptr<Link> link_;
    std::shared_ptr<TicketPrinter> printer_;
    int pending_ = 0;
};

} // namespace tickets
