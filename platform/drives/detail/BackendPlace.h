#pragma once

#include "platform/drives/detail/PathResolver.h"

namespace platform::detail {

// The part of a Location that only the drive backends read and write: where the backend keeps the
// folder that holds the entry (a root's own) and the entry. Each backend says what the two paths
// are; no other part of the platform includes this.
struct BackendPlace {
    static QString &folder(Location &location) { return location.m_placeFolder; }
    static const QString &folder(const Location &location) { return location.m_placeFolder; }
    static QString &entry(Location &location) { return location.m_placeEntry; }
    static const QString &entry(const Location &location) { return location.m_placeEntry; }
    static OpenRoot &openRoot(Location &location) { return location.m_openRoot; }
    static const OpenRoot &openRoot(const Location &location) { return location.m_openRoot; }
    static bool &listedAsFile(Location &location) { return location.m_listedAsFile; }
    static bool listedAsFile(const Location &location) { return location.m_listedAsFile; }
};

}  // namespace platform::detail
