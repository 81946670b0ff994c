# Qt's headers, precompiled for the Windows build: there MinGW's compiler spends most of a
# file's time in them. A precompiled header serves only files compiled with the same Qt
# definitions, so the targets of one folder that link the same Qt modules share one, made by a
# target of its own; -Winvalid-pch makes a header the compiler would pass over an error.

# The Qt modules a target's files are compiled for: those it links, and those the libraries it
# links pass on to it.
function(rollbox_qt_modules target out)
    get_target_property(links ${target} LINK_LIBRARIES)
    set(seen ${target})
    set(modules)
    while(links)
        list(POP_FRONT links link)
        if(link MATCHES "^Qt6::(Core|Gui|Widgets|Network|Test)$")
            list(APPEND modules ${CMAKE_MATCH_1})
        elseif(TARGET ${link} AND NOT link MATCHES "^Qt6::" AND NOT link IN_LIST seen)
            list(APPEND seen ${link})
            get_target_property(passed ${link} INTERFACE_LINK_LIBRARIES)
            if(passed)
                list(APPEND links ${passed})
            endif()
        endif()
    endwhile()
    # Each module brings the definitions of those it is built on.
    if(Widgets IN_LIST modules)
        list(APPEND modules Gui)
    endif()
    if(modules)
        list(APPEND modules Core)
    endif()
    list(REMOVE_DUPLICATES modules)
    list(SORT modules)
    set(${out} ${modules} PARENT_SCOPE)
endfunction()

# The headers most files include, by module.
set(ROLLBOX_PRECOMPILED_Core <QtCore/QByteArray> <QtCore/QCoreApplication> <QtCore/QDir>
    <QtCore/QFile> <QtCore/QFileInfo> <QtCore/QObject> <QtCore/QString> <QtCore/QTimer>)
set(ROLLBOX_PRECOMPILED_Gui <QtGui/QKeyEvent> <QtGui/QPainter>)
set(ROLLBOX_PRECOMPILED_Widgets <QtWidgets/QApplication> <QtWidgets/QCheckBox>
    <QtWidgets/QLabel> <QtWidgets/QLineEdit> <QtWidgets/QPushButton> <QtWidgets/QWidget>)
set(ROLLBOX_PRECOMPILED_Network)
set(ROLLBOX_PRECOMPILED_Test <QtTest/QTest>)

# Gives target the precompiled Qt headers of its modules; called in the target's folder. Only
# targets with windows take them, which spend the most time in Qt's headers: the engine's files
# include little of Qt or none, and a header forced on them would bring Qt's macros (slots,
# signals, emit) into plain C++.
function(rollbox_precompile_qt_headers target)
    rollbox_qt_modules(${target} modules)
    if(NOT Widgets IN_LIST modules)
        return()
    endif()
    file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
    list(JOIN modules _ key)
    string(MAKE_C_IDENTIFIER "qt_headers_${folder}_${key}" maker)
    if(NOT TARGET ${maker})
        file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/${maker}.cpp "")
        add_library(${maker} OBJECT ${CMAKE_CURRENT_BINARY_DIR}/${maker}.cpp)
        set_target_properties(${maker} PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
        set(headers)
        foreach(module IN LISTS modules)
            target_link_libraries(${maker} PRIVATE Qt6::${module})
            list(APPEND headers ${ROLLBOX_PRECOMPILED_${module}})
        endforeach()
        target_precompile_headers(${maker} PRIVATE ${headers})
        target_compile_options(${maker} PRIVATE -Winvalid-pch)
    endif()
    target_precompile_headers(${target} REUSE_FROM ${maker})
    target_compile_options(${target} PRIVATE -Winvalid-pch)
endfunction()

# Gives every library of folder and the folders below it the precompiled Qt headers. The
# programs are left out: each is one file, compiled with a definition of its own (QT_NEEDS_QMAIN).
function(rollbox_precompile_qt_headers_below folder)
    get_property(targets DIRECTORY ${folder} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target IN LISTS targets)
        get_target_property(type ${target} TYPE)
        if(type STREQUAL "STATIC_LIBRARY")
            rollbox_precompile_qt_headers(${target})
        endif()
    endforeach()
    get_property(folders DIRECTORY ${folder} PROPERTY SUBDIRECTORIES)
    foreach(below IN LISTS folders)
        rollbox_precompile_qt_headers_below(${below})
    endforeach()
endfunction()
