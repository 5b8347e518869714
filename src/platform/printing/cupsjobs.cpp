#include "platform/printing/cupsjobs.h"

#include "platform/printing/printerbackend.h"

#include <cups/cups.h>
#include <QFile>

namespace {

QByteArray destinationName(const QString& queue)
{
    return queue.section(QLatin1Char('/'), 0, 0).toUtf8();
}

[[noreturn]] void failWithCupsError()
{
    throw PrinterError(QString::fromUtf8(cupsLastErrorString()));
}

} // namespace

int CupsJobs::createHeld(const QString& queue, const QString& title, const Options& options)
{
    int count = 0;
    cups_option_t* cupsOptions = nullptr;
    for (const auto& [name, value] : options)
        count = cupsAddOption(name.constData(), value.constData(), count, &cupsOptions);
    count = cupsAddOption("job-hold-until", "indefinite", count, &cupsOptions);
    const int job = cupsCreateJob(CUPS_HTTP_DEFAULT, destinationName(queue).constData(),
                                  title.toUtf8().constData(), count, cupsOptions);
    cupsFreeOptions(count, cupsOptions);
    if (job == 0)
        failWithCupsError();
    return job;
}

std::optional<QList<int>> CupsJobs::titled(const QString& queue, const QString& title)
{
    cups_job_t* jobs = nullptr;
    const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, destinationName(queue).constData(), 1,
                                   CUPS_WHICHJOBS_ACTIVE);
    if (count < 0)
        return {};
    QList<int> found;
    for (int i = 0; i < count; ++i)
        if (QString::fromUtf8(jobs[i].title) == title)
            found << jobs[i].id;
    cupsFreeJobs(count, jobs);
    return found;
}

void CupsJobs::sendDocument(const QString& queue, int job, const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw PrinterError(file.errorString());
    const QByteArray name = destinationName(queue);
    if (cupsStartDocument(CUPS_HTTP_DEFAULT, name.constData(), job, "zelk_nal", CUPS_FORMAT_PDF,
                          1) != HTTP_STATUS_CONTINUE)
        failWithCupsError();
    bool written = true;
    while (written && !file.atEnd()) {
        const QByteArray chunk = file.read(1 << 16);
        written = cupsWriteRequestData(CUPS_HTTP_DEFAULT, chunk.constData(),
                                       size_t(chunk.size())) == HTTP_STATUS_CONTINUE;
    }
    if (cupsFinishDocument(CUPS_HTTP_DEFAULT, name.constData()) != IPP_STATUS_OK || !written)
        failWithCupsError();
}

bool CupsJobs::release(int job)
{
    ipp_t* request = ippNewRequest(IPP_OP_RELEASE_JOB);
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(),
                     "/jobs/%d", job);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                 cupsUser());
    ippDelete(cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/jobs/"));
    const ipp_status_t status = cupsLastError();
    // Not held any more, or gone: it was released before, or has printed.
    return status <= IPP_STATUS_OK_EVENTS_COMPLETE || status == IPP_STATUS_ERROR_NOT_POSSIBLE ||
           status == IPP_STATUS_ERROR_NOT_FOUND;
}

void CupsJobs::cancel(const QString& queue, int job)
{
    cupsCancelJob2(CUPS_HTTP_DEFAULT, destinationName(queue).constData(), job, 0);
}
