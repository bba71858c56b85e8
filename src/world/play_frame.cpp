#include "world/play_frame.h"

#include "world/enemic.h"
#include "world/physics.h"
#include "world/platform.h"
#include "world/player.h"

PlayFrameOutcome runPlayFrame(b2World& world, const std::array<PlayerTurn, 2>& turns, float dt)
{
    for (const PlayerTurn& turn : turns)
        if (turn.player)
            turn.player->update(dt, turn.direction, turn.jump);

    PlayFrameOutcome outcome;
    for (Platform* platform : Platform::instances())
    {
        int standing = 0;
        for (int number = 1; number <= 2 && standing == 0; ++number)
        {
            b2Body* feet = turns[static_cast<std::size_t>(number - 1)].feet;
            if (feet && platform->checkContact(feet, number))
                standing = number;
        }
        const float tilt = standing ? turns[static_cast<std::size_t>(standing - 1)].tilt : 0.0f;
        const int previousOwner = platform->colourOwner;
        platform->update(tilt, standing, dt);
        if (standing != 0 && platform->colourOwner != previousOwner)
            outcome.tookLog[static_cast<std::size_t>(standing - 1)] = true;
    }

    for (Enemic* enemy : Enemic::instances())
        enemy->update(dt);

    physics::step(world, dt);
    return outcome;
}
