# Writes the page's service worker once every file it keeps is built: the
# cache's name is mazewalk-<version>-<hash>, the hash taken over the names
# and contents of those files, so a change of any of them names a new cache.
# Run with `cmake -P`, given SITE (the site's folder), TEMPLATE (the worker's
# source), OUT, VERSION and FILES (the kept files, relative to SITE, joined
# by "|"; "./" stands for the page at its folder's address).

string(REPLACE "|" ";" files "${FILES}")
set(digests "")
set(quoted "")
foreach(file IN LISTS files)
  set(path "${SITE}/${file}")
  if(file STREQUAL "./")
    set(path "${SITE}/index.html")
  endif()
  if(NOT EXISTS "${path}")
    message(FATAL_ERROR "OfflineCache.cmake: ${path} is not built")
  endif()
  file(SHA256 "${path}" digest)
  string(APPEND digests "${file} ${digest}\n")
  list(APPEND quoted "\"${file}\"")
endforeach()
string(SHA256 hash "${digests}")
string(SUBSTRING "${hash}" 0 16 hash)
set(MAZEWALK_CACHE_NAME "mazewalk-${VERSION}-${hash}")
list(JOIN quoted ", " MAZEWALK_CACHED_FILES)
set(MAZEWALK_CACHED_FILES "[${MAZEWALK_CACHED_FILES}]")
configure_file("${TEMPLATE}" "${OUT}" @ONLY)
