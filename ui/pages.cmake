# The main window, the remote-control panel and the pages.
target_sources(tavrel_ui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/mainwindow.cpp ${CMAKE_CURRENT_LIST_DIR}/mainwindow.h
    ${CMAKE_CURRENT_LIST_DIR}/panelwidget.cpp ${CMAKE_CURRENT_LIST_DIR}/panelwidget.h
    ${CMAKE_CURRENT_LIST_DIR}/forms/mainwindow.ui
    ${CMAKE_CURRENT_LIST_DIR}/forms/panelwidget_ls.ui
    ${CMAKE_CURRENT_LIST_DIR}/forms/panelwidget_pt.ui
    ${CMAKE_CURRENT_LIST_DIR}/forms/timerwidget.ui
    ${CMAKE_CURRENT_LIST_DIR}/forms/generalinfowidget.ui
    ${CMAKE_CURRENT_LIST_DIR}/pages/generalinfowidget.cpp ${CMAKE_CURRENT_LIST_DIR}/pages/generalinfowidget.h
    ${CMAKE_CURRENT_LIST_DIR}/pages/timerstateicon.cpp ${CMAKE_CURRENT_LIST_DIR}/pages/timerstateicon.h
    ${CMAKE_CURRENT_LIST_DIR}/pages/timerwidget.cpp ${CMAKE_CURRENT_LIST_DIR}/pages/timerwidget.h
    ${CMAKE_CURRENT_LIST_DIR}/pages/channellistmodel.cpp ${CMAKE_CURRENT_LIST_DIR}/pages/channellistmodel.h
    ${CMAKE_CURRENT_LIST_DIR}/forms/profiletab_ls.ui
    ${CMAKE_CURRENT_LIST_DIR}/forms/profiletab_pt.ui
    ${CMAKE_CURRENT_LIST_DIR}/forms/settingswidget_ls.ui
    ${CMAKE_CURRENT_LIST_DIR}/forms/settingswidget_pt.ui
    ${CMAKE_CURRENT_LIST_DIR}/pages/orientedforms.h
    ${CMAKE_CURRENT_LIST_DIR}/pages/profiletab.cpp ${CMAKE_CURRENT_LIST_DIR}/pages/profiletab.h
    ${CMAKE_CURRENT_LIST_DIR}/pages/profilewidget.cpp ${CMAKE_CURRENT_LIST_DIR}/pages/profilewidget.h
    ${CMAKE_CURRENT_LIST_DIR}/pages/settingswidget.cpp ${CMAKE_CURRENT_LIST_DIR}/pages/settingswidget.h
    ${CMAKE_CURRENT_LIST_DIR}/forms/EpgWidget_ls.ui
    ${CMAKE_CURRENT_LIST_DIR}/forms/EpgWidget_pt.ui
    ${CMAKE_CURRENT_LIST_DIR}/pages/epgwidget.cpp ${CMAKE_CURRENT_LIST_DIR}/pages/epgwidget.h
    ${CMAKE_CURRENT_LIST_DIR}/forms/messageforms.cpp ${CMAKE_CURRENT_LIST_DIR}/forms/messageforms.h
    ${CMAKE_CURRENT_LIST_DIR}/forms/satfinderform.cpp ${CMAKE_CURRENT_LIST_DIR}/forms/satfinderform.h
    ${CMAKE_CURRENT_LIST_DIR}/pages/helpwidget.cpp ${CMAKE_CURRENT_LIST_DIR}/pages/helpwidget.h
    ${CMAKE_CURRENT_LIST_DIR}/pages/messagepage.cpp ${CMAKE_CURRENT_LIST_DIR}/pages/messagepage.h
    ${CMAKE_CURRENT_LIST_DIR}/pages/messagewidget.cpp ${CMAKE_CURRENT_LIST_DIR}/pages/messagewidget.h
    ${CMAKE_CURRENT_LIST_DIR}/pages/messagewidgete2.cpp ${CMAKE_CURRENT_LIST_DIR}/pages/messagewidgete2.h
    ${CMAKE_CURRENT_LIST_DIR}/pages/satfinderwidget.cpp ${CMAKE_CURRENT_LIST_DIR}/pages/satfinderwidget.h
    ${CMAKE_CURRENT_LIST_DIR}/pages/remotewidget.cpp ${CMAKE_CURRENT_LIST_DIR}/pages/remotewidget.h
    ${CMAKE_CURRENT_LIST_DIR}/pages/tvpictureview.cpp ${CMAKE_CURRENT_LIST_DIR}/pages/tvpictureview.h)
set_target_properties(tavrel_ui PROPERTIES
    AUTOUIC ON
    AUTOUIC_SEARCH_PATHS ${CMAKE_CURRENT_LIST_DIR}/forms)
target_link_libraries(tavrel_ui PUBLIC tavrel_control)
