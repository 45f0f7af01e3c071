// The movie page. A page that is refused leaves no entries.

#include "box/e1parsers.h"
#include "fuzz/fuzzsupport.h"
#include "model/records.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = replyText(data, size);
    OwnedList<MovieEntry> movies;
    const bool read = parseMovieListE1(text, movies);
    require(read || movies.empty());
    require(!read || text.contains(u"ZAP: Movies"));
    return 0;
}
