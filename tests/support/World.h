#pragma once
// The program as its entry builds it, over the headless backend: a test sets
// up files, settings and answers, starts the program and acts as a user would.
#include <memory>

#include "features/Application.h"
#include "forms/Dlogdlg.h"
#include "forms/Dlogmain.h"
#include "forms/Dlogopt.h"
#include "support/HeadlessOs.h"
#include "support/HeadlessToolkit.h"

namespace headless {

inline const std::string iniPath = "C:\\Velumo\\Velumo.ini";

struct World {
    HeadlessToolkit ui;
    HeadlessOs system;
    std::unique_ptr<Application> app;
    std::unique_ptr<TForm1> form1;
    std::unique_ptr<TAboutBox> aboutBox;
    std::unique_ptr<TForm2> form2;

    // Creates the forms in order; the main window is not shown yet.
    void create() {
        app = std::make_unique<Application>(ui, system.os);
        form1 = std::make_unique<TForm1>(*app);
        aboutBox = std::make_unique<TAboutBox>(*app);
        form2 = std::make_unique<TForm2>(*app);
        form1->attachDialogs(*aboutBox, *form2);
    }
    // Creates the forms and shows the main window, running its start-up steps.
    void start() {
        create();
        form1->window().show();
    }
    void startWithArguments(const std::string& arguments) {
        system.program.line = "\"C:\\Velumo\\Velumo.exe\" " + arguments;
        start();
    }
    // A settings file as a user might have left it.
    void settings(const std::string& entries) { system.files.put(iniPath, "[Option]\r\n" + entries); }
    std::string ini() const { return system.files.content(iniPath); }
    bool iniExists() const { return system.files.exists(iniPath); }

    HeadlessForm& main() { return ui.form("Form1"); }
    // The dialogs' windows are made when first needed; these make them as showing would.
    HeadlessForm& options() {
        form2->window();
        return ui.form("Form2");
    }
    HeadlessForm& about() {
        aboutBox->window();
        return ui.form("AboutBox");
    }
    HeadlessTimer& timer() { return ui.timer(); }
    std::vector<std::string> messageTexts() const {
        std::vector<std::string> texts;
        for (const ShownMessage& message : ui.messages)
            texts.push_back(message.text);
        return texts;
    }
};

} // namespace headless
