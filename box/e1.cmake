# Readers of the Enigma1 web interface's pages, and the HTML document they read pages with.
target_sources(tavrel_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/e1parsers.cpp ${CMAKE_CURRENT_LIST_DIR}/e1parsers.h
    ${CMAKE_CURRENT_LIST_DIR}/e1scraper.cpp ${CMAKE_CURRENT_LIST_DIR}/e1scraper.h
    ${CMAKE_CURRENT_LIST_DIR}/htmldocument.cpp ${CMAKE_CURRENT_LIST_DIR}/htmldocument.h)
