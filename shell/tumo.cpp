#include "tumo.h"

#include "courier_font.h"
#include "random_source.h"
#include "roll_log.h"
#include "work_files.h"

#include <QMessageBox>
#include <QTimer>

Tumo::Tumo(QWidget* parent) : QWidget(parent), random_(&processGenerator()) {
    setWindowTitle(tr("Quorvane's Dice Roller"));
    setFont(courierFont(9.75));

    createRollControls();
    connectRollControls();

    Timer1 = new QTimer(this);
    Timer1->setInterval(5000);
    connect(Timer1, &QTimer::timeout, this, &Tumo::Timer1_Timer);
    Timer1->start();
}

Tumo::~Tumo() = default;

void Tumo::setRandomSource(RandomSource* random) {
    random_ = random;
}

void Tumo::Form_Load() {
    processGenerator().seed(secondsSinceMidnight());
    if (auto failure = ensureFileExists(recordFileName))
        reportWorkFileFailure(failure->file, failure->reason);
    logPath = defaultLogPath();
}

void Tumo::Timer1_Timer() {
    processGenerator().seed(secondsSinceMidnight());
}
