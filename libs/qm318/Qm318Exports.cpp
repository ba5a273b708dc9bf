// Exports of QM318: the chip layer under its plain names (the card routines
// prefixed "qm318_") and the motion layer in user units.
#include "libs/qm318/LibraryState.h"
#include "libs/qm318/Qm318Api.h"

QM318_API int qm318_initial() { return qm318::TheChipLayer().qm318_initial(); }
QM318_API int qm318_end() { return qm318::TheChipLayer().qm318_end(); }

#define QM318_CHIP(name, params, args) \
  QM318_API int name params { return qm318::TheChipLayer().name args; }
#include "libs/qm318/ChipExports.inc"
#undef QM318_CHIP

// --- motion layer, card 0 ----------------------------------------------------
#include "libs/qm318/MotionLayer.h"

namespace {
qm318::MotionLayer& Motion() { return qm318::TheMotionLayer(); }
using Target = qm318::MotionLayer::AxisTarget;
}  // namespace

QM318_API int qm318_init_board() { return Motion().qm318_init_board(); }
QM318_API double get_logical_pos(int axis, int raw) { return Motion().get_logical_pos(axis, raw); }
QM318_API double get_fact_pos(int axis, int raw) { return Motion().get_fact_pos(axis, raw); }
QM318_API double get_move_speed(int axis, int raw) { return Motion().get_move_speed(axis, raw); }

QM318_API int one_stop(int axis, int decelerate) { return Motion().one_stop(axis, decelerate); }
QM318_API int all_stop(int decelerate) { return Motion().all_stop(decelerate); }
QM318_API int get_input(int bit) { return Motion().get_input(bit); }
QM318_API int set_output(int bit, int on) { return Motion().set_output(bit, on); }

QM318_API int work_move1(int axis, float distance, int absolute, int speed_select, QM318_CALLBACK callback) {
  return Motion().WorkMove({Target{axis, distance}}, absolute, speed_select, callback);
}
QM318_API int work_move2(int axis_a, float distance_a, int axis_b, float distance_b, int absolute, int speed_select,
                         QM318_CALLBACK callback) {
  return Motion().WorkMove({Target{axis_a, distance_a}, Target{axis_b, distance_b}}, absolute, speed_select, callback);
}
QM318_API int work_move3(int axis_a, float distance_a, int axis_b, float distance_b, int axis_c, float distance_c,
                         int absolute, int speed_select, QM318_CALLBACK callback) {
  return Motion().WorkMove({Target{axis_a, distance_a}, Target{axis_b, distance_b}, Target{axis_c, distance_c}},
                           absolute, speed_select, callback);
}
QM318_API int work_move4(float distance1, float distance2, float distance3, float distance4, int absolute,
                         int speed_select, QM318_CALLBACK callback) {
  return Motion().WorkMove({Target{1, distance1}, Target{2, distance2}, Target{3, distance3}, Target{4, distance4}},
                           absolute, speed_select, callback);
}

QM318_API int free_move1(int axis, float distance, float start_speed, float drive_speed, float acc_time, int absolute,
                         QM318_CALLBACK callback) {
  return Motion().FreeMove({Target{axis, distance, start_speed, drive_speed, acc_time}}, absolute, callback);
}
QM318_API int free_move2(int axis_a, float distance_a, float start_a, float drive_a, float acc_a, int axis_b,
                         float distance_b, float start_b, float drive_b, float acc_b, int absolute,
                         QM318_CALLBACK callback) {
  return Motion().FreeMove({Target{axis_a, distance_a, start_a, drive_a, acc_a},
                            Target{axis_b, distance_b, start_b, drive_b, acc_b}},
                           absolute, callback);
}
QM318_API int free_move3(int axis_a, float distance_a, float start_a, float drive_a, float acc_a, int axis_b,
                         float distance_b, float start_b, float drive_b, float acc_b, int axis_c, float distance_c,
                         float start_c, float drive_c, float acc_c, int absolute, QM318_CALLBACK callback) {
  return Motion().FreeMove({Target{axis_a, distance_a, start_a, drive_a, acc_a},
                            Target{axis_b, distance_b, start_b, drive_b, acc_b},
                            Target{axis_c, distance_c, start_c, drive_c, acc_c}},
                           absolute, callback);
}
QM318_API int free_move4(float distance1, float start1, float drive1, float acc1, float distance2, float start2,
                         float drive2, float acc2, float distance3, float start3, float drive3, float acc3,
                         float distance4, float start4, float drive4, float acc4, int absolute,
                         QM318_CALLBACK callback) {
  return Motion().FreeMove({Target{1, distance1, start1, drive1, acc1}, Target{2, distance2, start2, drive2, acc2},
                            Target{3, distance3, start3, drive3, acc3}, Target{4, distance4, start4, drive4, acc4}},
                           absolute, callback);
}

QM318_API int continue_move1(int axis, int dir, int speed_select, QM318_CALLBACK callback) {
  return Motion().ContinueMove({{axis, dir}}, speed_select, callback);
}
QM318_API int continue_move2(int axis_a, int dir_a, int axis_b, int dir_b, int speed_select, QM318_CALLBACK callback) {
  return Motion().ContinueMove({{axis_a, dir_a}, {axis_b, dir_b}}, speed_select, callback);
}
QM318_API int continue_move3(int axis_a, int dir_a, int axis_b, int dir_b, int axis_c, int dir_c, int speed_select,
                             QM318_CALLBACK callback) {
  return Motion().ContinueMove({{axis_a, dir_a}, {axis_b, dir_b}, {axis_c, dir_c}}, speed_select, callback);
}
QM318_API int continue_move4(int dir1, int dir2, int dir3, int dir4, int speed_select, QM318_CALLBACK callback) {
  return Motion().ContinueMove({{1, dir1}, {2, dir2}, {3, dir3}, {4, dir4}}, speed_select, callback);
}

QM318_API int work_inp2(int axis_a, float distance_a, int axis_b, float distance_b, int absolute, int speed_select,
                        QM318_CALLBACK callback) {
  return Motion().work_inp2(axis_a, distance_a, axis_b, distance_b, absolute, speed_select, callback);
}
QM318_API int work_inp3(float distance1, float distance2, float distance3, int absolute, int speed_select,
                        QM318_CALLBACK callback) {
  return Motion().WorkInp({distance1, distance2, distance3}, absolute, speed_select, callback);
}
QM318_API int work_inp4(float distance1, float distance2, float distance3, float distance4, int absolute,
                        int speed_select, QM318_CALLBACK callback) {
  return Motion().WorkInp({distance1, distance2, distance3, distance4}, absolute, speed_select, callback);
}
QM318_API int hand_move(int axis, int dir, QM318_CALLBACK callback) { return Motion().hand_move(axis, dir, callback); }

QM318_API int work_arc(int axis_a, int axis_b, float* points, int speed_select, QM318_CALLBACK callback) {
  return Motion().work_arc(axis_a, axis_b, points, speed_select, callback);
}

QM318_API int home1(int axis, QM318_CALLBACK callback) { return Motion().Home({axis}, callback); }
QM318_API int home2(int axis_a, int axis_b, QM318_CALLBACK callback) { return Motion().Home({axis_a, axis_b}, callback); }
QM318_API int home3(int axis_a, int axis_b, int axis_c, QM318_CALLBACK callback) {
  return Motion().Home({axis_a, axis_b, axis_c}, callback);
}
QM318_API int home4(QM318_CALLBACK callback) { return Motion().Home({1, 2, 3, 4}, callback); }
