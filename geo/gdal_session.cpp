#include "gdal_session.h"

#include <cpl_error.h>
#include <gdal.h>

#include <mutex>

namespace quarn {

GdalSession::GdalSession() {
    static std::once_flag registered;
    std::call_once(registered, [] { GDALAllRegister(); });
    CPLPushErrorHandler(CPLQuietErrorHandler);
    CPLErrorReset();
}

GdalSession::~GdalSession() {
    CPLPopErrorHandler();
}

std::string GdalSession::lastError() {
    return CPLGetLastErrorMsg();
}

}  // namespace quarn
