"""examples/car: a car on rolling hills, with a motor, groove and spring suspension."""
import math

from .scene_writer import bar, CAPTION, circle, finish, fmt, Mesh, rect, Scene


def write(root):
    s = Scene(root, "car",
              "A car on rolling hills: a motor turns a wheel, grooves and springs carry the body.",
              "--ticks 240")
    s.comment("The car is three objects: a body and two wheels. Each wheel slides up and down",
              "a groove joint on the body and is pressed down by a spring joint; a motor joint",
              "turns the rear wheel against the body. The three share one obj_group, so the",
              "wheels pass through the body they hang in instead of colliding with it.")
    s.settings(fps=60, step_iterations=4, solver_iterations=20, gravity=(0, 500), damping=0.9,
               mouse_impulse_force=0.05, mouse_impulse_force_max=1500,
               scroller_text="A car on rolling hills -- a motor, grooves and springs -- "
               "r starts it again",
               scroller_text_y=70, **CAPTION, scroller_text_color=(0.99, 0.86, 0.5, 1))

    # The ground: flat at the start, three hills, flat again up to a buffer at the right edge.
    def ground_y(x):
        if x < 170 or x > 830:
            return 600.0
        u = (x - 170) / 660
        return 600 - 44 * math.sin(math.pi * 3 * u) ** 2 * (1 - 0.3 * u)

    xs = [16.0 * i for i in range(65)]
    hills = Mesh("Car: the hills and the buffer, drawn")
    hills_col = Mesh("Car: the hills' collision, one quad per 16 units")
    for x0, x1 in zip(xs, xs[1:]):
        y0, y1 = ground_y(x0), ground_y(x1)
        hills.poly("rock", [(x0, y0 + 6), (x1, y1 + 6), (x1, 768), (x0, 768)])
        hills.poly("grass", [(x0, y0 - 2), (x1, y1 - 2), (x1, y1 + 7), (x0, y0 + 7)])
        hills_col.poly("rock", [(x0, y0), (x1, y1), (x1, 768), (x0, 768)])
    hills.poly("gold_dark", rect(990, 520, 1024, 600)).poly("gold", rect(994, 524, 1024, 596))
    for y in (536, 568):
        hills.poly("slate", [(994, y), (1024, y - 12), (1024, y), (994, y + 12)])
    sky = Mesh("Car: sun and clouds, drawn only")
    sky.poly("gold", circle(34, 24, 860, 190))
    for cx, cy, w in ((250, 200, 1.0), (560, 150, 0.8)):
        for dx, dy, r in ((-30, 6, 20), (0, -4, 28), (32, 6, 20)):
            sky.poly("cream", circle(r * w, 16, cx + dx * w, cy + dy * w))
    s.comment("The sky has no collision shape. obj_layer -1 draws it before everything in",
              "layer 0, whatever its name.")
    s.obj("sky", (0, 0), mesh=s.mesh("sky.obj", sky), layer=-1)
    s.comment("The ground is one static object whose collision mesh is a quad under each",
              "16 units of the surface. It has friction 1, so the wheels grip.")
    s.obj("Hills", (0, 0), mesh=s.mesh("hills.obj", hills),
          col_mesh=s.mesh("hills_col.obj", hills_col, with_materials=False), friction=1)
    s.comment("The buffer at the right edge has no friction, so a wheel pressed against it",
              "cannot climb it: the car stops there, pushing with all its motor's torque.")
    s.obj("Buffer", (0, 0), col_line=(1007, 530, 1007, 600, 13))

    start = (130.0, 548.0)
    axle_x, axle_y, wheel_r = 44.0, 26.0, 20.0
    body = Mesh("Car: the body, around its centre of mass")
    body.poly("coral_dark", [(-64, -12), (64, -12), (60, 12), (-60, 12)])
    body.poly("coral", [(-60, -9), (60, -9), (57, 8), (-57, 8)])
    body.poly("coral_dark", [(-30, -12), (-18, -36), (24, -36), (40, -12)])
    body.poly("sky", [(-24, -13), (-15, -32), (0, -32), (0, -13)])
    body.poly("sky", [(5, -13), (5, -32), (21, -32), (33, -13)])
    body.poly("gold", rect(58, -6, 64, 1))
    body_col = Mesh("Car: the body's collision").poly(
        "coral", [(-64, -12), (64, -12), (60, 12), (-60, 12)]).poly(
        "coral", [(-30, -12), (-18, -36), (24, -36), (40, -12)])
    s.comment("The body. obj_moment auto spreads its mass over its collision shapes, as a real",
              "body's would be, rather than the old rule (a disc out to the nearest vertex).",
              "obj_layer 1 draws it over the wheels.")
    s.obj("body", start, mesh=s.mesh("body.obj", body),
          col_mesh=s.mesh("body_col.obj", body_col, with_materials=False), mass=6,
          moment="auto", friction=0.5, group="car", layer=1)
    wheel = Mesh("Car: a wheel; the spokes show it turn")
    wheel.poly("slate", circle(wheel_r, 24, turn=0.5))
    wheel.poly("steel_dark", circle(wheel_r * 0.6, 24, turn=0.5))
    for i in range(3):
        a = math.pi * i / 3
        wheel.poly("steel", bar(-12 * math.cos(a), -12 * math.sin(a),
                                12 * math.cos(a), 12 * math.sin(a), 3))
    wheel_mesh = s.mesh("wheel.obj", wheel)
    s.comment("The wheels collide through one circle each (obj_col_circle, radius "
              f"{fmt(wheel_r)}), which",
              "rolls smoothly where a polygon would bump. A ball or wheel that should roll needs",
              "obj_moment auto: without a collision mesh the old rule takes a radius of 999, and",
              "the wheel would hardly turn.")
    for side, name in ((-1, "wheel_rear"), (1, "wheel_front")):
        s.obj(name, (start[0] + side * axle_x, start[1] + axle_y), mesh=wheel_mesh,
              col_circles=[(0, 0, wheel_r)], mass=1, moment="auto", friction=1.2, group="car")
    s.comment("The suspension. A groove joint lets the wheel's centre (anchor b) slide only",
              "along a line on the body, from joint_groove_a to joint_groove_b (body",
              "coordinates). A spring joint pushes it down: its rest length (38) is more than",
              "the 26 units it starts at, which is what holds the body up. joint_color draws",
              "each spring as a zigzag.")
    for side, name in ((-1, "wheel_rear"), (1, "wheel_front")):
        x = side * axle_x
        s.joint("groove", "body", None, (0, 0), b=name, groove_a=(x, 12), groove_b=(x, 40))
        s.joint("spring", "body", (x, 0), (0, 0), b=name, rest_length=38, stiffness=110,
                damping=12, color=(0.72, 0.76, 0.82, 1))
    s.comment("The motor turns the rear wheel clockwise (positive degrees per second) against",
              "the body, which rolls the car to the right. joint_max_force caps its torque:",
              "enough for the hills, too little to lift the body's nose off the ground.")
    s.joint("motor", "body", b="wheel_rear", rate=400, max_force=40000)
    finish(s)
