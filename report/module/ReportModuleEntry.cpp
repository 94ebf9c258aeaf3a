// The entry of the report module: the shared library zlm-batch loads at run time
// when a report is asked for, so that a straightedge run never loads Qt. The
// library holds the PDF report and everything it draws with; it exports only
// the two C functions below (batch/ReportModule.cpp names them).

#include "commands/ReportRequest.h"

#include <cstring>

/** The ZLM version the module was built for; a host of another version must not use it. */
extern "C" __attribute__((visibility("default"))) const char* ZlmReportModuleVersion()
{
    return ZLM_VERSION;
}

/**
 * A new PDF report writer, owned by the caller (deleted through its virtual
 * destructor), or null when `hostVersion` is not the module's own: the writer
 * shares the session's layout with its host, which only the same sources agree on.
 */
extern "C" __attribute__((visibility("default"))) zlm::ReportWriter* ZlmCreateReportWriter(const char* hostVersion)
{
    if (hostVersion == nullptr || std::strcmp(hostVersion, ZLM_VERSION) != 0)
        return nullptr;
    return zlm::MakePdfReportWriter().release();
}
