"""examples/catapult: a spring catapult held by a latch that breaks, and kept up by a ratchet."""
from .scene_writer import ball_mesh, bar, CAPTION, circle, crate_mesh, finish, fmt, Mesh, rect, \
    Scene


def write(root):
    s = Scene(root, "catapult",
              "A catapult: a weight breaks the latch, a spring swings the arm, a ratchet holds it.",
              "--ticks 200")
    s.comment("The arm turns on a pivot joint. A spring joint pulls its short end down; a pin",
              "joint with a joint_break_force (the latch) holds its long end down against it.",
              "A heavy ball falls onto the short end, the force on the latch passes its break",
              "force and the latch is removed: the spring swings the arm up and the stone in its",
              "cup flies at the crates. A rotary limit stops the arm part way up, and a ratchet",
              "joint keeps it from swinging back. r builds the world again, latch and all.")
    s.settings(fps=60, step_iterations=4, solver_iterations=20, gravity=(0, 500), damping=0.98,
               mouse_impulse_force=0.05, mouse_impulse_force_max=1500,
               scroller_text="A catapult -- a spring, a ratchet and a latch that breaks -- "
               "r loads it again",
               scroller_text_y=70, **CAPTION, scroller_text_color=(0.99, 0.86, 0.5, 1))
    floor_y = 690.0
    pivot = (300.0, 560.0)
    long_end, short_end = 180.0, 60.0

    ground = Mesh("Catapult: the ground and the wall at the right edge")
    ground.poly("grass", rect(0, floor_y, 1024, floor_y + 8)).poly("rock", rect(0, floor_y + 8,
                                                                               1024, 768))
    ground.poly("rock_dark", rect(1000, 300, 1024, floor_y))
    ground_col = Mesh("Catapult: collision of the ground and the wall").poly(
        "rock", rect(0, floor_y, 1024, 768)).poly("rock", rect(1000, 300, 1024, floor_y))
    s.obj("Ground", (0, 0), mesh=s.mesh("ground.obj", ground),
          col_mesh=s.mesh("ground_col.obj", ground_col, with_materials=False), friction=0.8)
    frame = Mesh("Catapult: the frame, drawn only")
    for dx in (-70, 70):
        frame.poly("wood_dark", bar(pivot[0], pivot[1], pivot[0] + dx, floor_y, 14))
    frame.poly("wood_dark", rect(pivot[0] - 110, floor_y - 14, pivot[0] + 110, floor_y))
    frame.poly("wood_dark", circle(12, 12, *pivot)).poly("cream", circle(5, 8, *pivot))
    s.comment("The frame has no collision shape, so the arm swings through it; obj_layer 1",
              "draws it over the arm.")
    s.obj("frame", (0, 0), mesh=s.mesh("frame.obj", frame), layer=1)

    # The arm's origin is its middle, its pivot 60 units from its right (short) end.
    half = (long_end + short_end) / 2
    arm_pos = (pivot[0] - (half - short_end), pivot[1])
    local_pivot = (half - short_end, 0.0)
    arm = Mesh("Catapult: the arm and its cup")
    arm.poly("wood_dark", rect(-half, -7, half, 7)).poly("wood", rect(-half + 3, -4, half - 3, 4))
    cup = [rect(-half, -30, -half + 8, 0), rect(-half + 36, -22, -half + 44, 0)]
    for part in cup:
        arm.poly("wood_dark", part)
    arm_col = Mesh("Catapult: the arm's collision").poly("wood", rect(-half, -7, half, 7))
    for part in cup:
        arm_col.poly("wood", part)
    s.comment(f"The arm, {fmt(2 * half)} long, with a cup at its left end; obj_moment auto",
              "spreads its mass along it.")
    s.obj("arm", arm_pos, mesh=s.mesh("arm.obj", arm),
          col_mesh=s.mesh("arm_col.obj", arm_col, with_materials=False), mass=2, moment="auto",
          friction=0.8)
    s.comment("The hinge: the arm turns about a world point.")
    s.joint("pivot", "arm", pivot=pivot)

    spring_to = (pivot[0] + short_end, floor_y - 14)
    s.comment("The spring pulls the short end down towards the frame's foot; its rest length",
              "(10) is far below its length as built, so it starts stretched.")
    s.joint("spring", "arm", (half, 0), spring_to, rest_length=10, stiffness=95, damping=1,
            color=(0.72, 0.76, 0.82, 1))
    latch_to = (arm_pos[0] - half + 4, floor_y - 2)
    s.comment("The latch: a pin joint from the cup end down to the ground. Holding the spring",
              "takes a force of about 3,100 from it; joint_break_force 4500 lets it hold until",
              "the weight lands on the other end. joint_color draws it until it breaks.")
    s.joint("pin", "arm", (-half + 4, 7), latch_to, break_force=4500,
            color=(0.99, 0.80, 0.34, 1))
    s.comment("A rotary limit (the world its first end) stops the arm when it has turned 55",
              "degrees clockwise, and the stone flies on, upwards to the right. The ratchet lets",
              "the arm turn clockwise only: once past a multiple of 10 degrees it cannot come",
              "back past it.")
    s.joint("rotary_limit", None, b="arm", angle_min=-10, angle_max=55)
    s.joint("ratchet", None, b="arm", ratchet=10)

    stone_r = 14.0
    s.comment("The stone in the cup: a collision circle that rolls (obj_moment auto).")
    s.obj("stone", (arm_pos[0] - half + 22, pivot[1] - 7 - stone_r),
          mesh=s.mesh("stone.obj", ball_mesh(stone_r, 16, "rock_dark", "steel_dark",
                                             "Catapult: the stone")),
          col_circles=[(0, 0, stone_r)], mass=1, moment="auto", friction=0.5)
    weight_r = 24.0
    s.comment("The weight starts above the view and falls onto the short end of the arm.")
    s.obj("weight", (pivot[0] + short_end - 20, -60),
          mesh=s.mesh("weight.obj", ball_mesh(weight_r, 20, "slate", "slate_light",
                                              "Catapult: the weight")),
          col_circles=[(0, 0, weight_r)], mass=6, moment="auto", friction=0.5)

    s.comment("The target: a tower of crates, two wide and six high.")
    crate = s.mesh("crate.obj", crate_mesh(20, "wood_dark", "wood", "Catapult: a crate"))
    crate_col = s.mesh("crate_col.obj", Mesh("Catapult: a crate's collision").poly(
        "wood", rect(-20, -20, 20, 20)), with_materials=False)
    for row in range(6):
        for col in range(2):
            s.obj(f"crate{row}{col}", (850 + col * 41, floor_y - 20 - 40.5 * row), mesh=crate,
                  col_mesh=crate_col, mass=0.6, moment="auto", friction=0.7)
    finish(s)
