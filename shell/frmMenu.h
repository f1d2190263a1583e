#pragma once
#include <QWidget>

class QAction;
class QMenu;

// The never-shown window that carries the tray menu "Datei". Created on first use.
class frmMenu : public QWidget {
    Q_OBJECT
public:
    static frmMenu* instance();
    static frmMenu* Load();
    // Unloads it if loaded.
    static void Unload();

    QMenu* mnuDatei = nullptr;
    QAction* mnuAbout = nullptr;
    QAction* mnuKurzHilfe = nullptr;
    QAction* mnuOptions = nullptr;
    QAction* mnuBeenden = nullptr;

    void mnuAbout_Click();
    void mnuKurzHilfe_Click();
    void mnuOptions_Click();
    void mnuBeenden_Click();

private:
    frmMenu();
    ~frmMenu() override;
};
